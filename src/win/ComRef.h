#pragma once
#include <windows.h>
#include <unknwn.h>

// A counted reference to a COM interface: released when the object goes,
// added to when it is copied.
template <class T>
class ComRef
{
public:
    // Empty.
    ComRef() = default;
    // Holds p; adds a reference unless addRef is false (p's reference is then
    // taken over).
    explicit ComRef(T* p, bool addRef = true) : ptr(p)
    {
        if (ptr != nullptr && addRef)
            ptr->AddRef();
    }
    // Releases the reference.
    ~ComRef() { Reset(); }
    // Copying adds a reference.
    ComRef(const ComRef& other) : ComRef(other.ptr) {}
    // Moving hands the reference over; the source is left empty.
    ComRef(ComRef&& other) noexcept : ptr(other.Detach()) {}
    // Holds the other's interface, with a reference of its own.
    ComRef& operator=(const ComRef& other)
    {
        if (this != &other) {
            if (other.ptr != nullptr)
                other.ptr->AddRef();
            Reset(other.ptr);
        }
        return *this;
    }
    // Releases this reference and takes over the other's.
    ComRef& operator=(ComRef&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    // Releases the held reference and takes over p's (no AddRef).
    void Reset(T* p = nullptr)
    {
        T* old = ptr;
        ptr = p;
        if (old != nullptr)
            old->Release();
    }
    // Releases the held reference and returns the address to pass as the
    // output of a call that hands out a new reference (QueryInterface, ...).
    T** Receive()
    {
        Reset();
        return &ptr;
    }
    // Receive() typed for QueryInterface-style outputs.
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    // The interface, without adding a reference.
    T* Get() const { return ptr; }
    // Calls through to the interface.
    T* operator->() const { return ptr; }
    // Gives up the reference without releasing it.
    T* Detach()
    {
        T* p = ptr;
        ptr = nullptr;
        return p;
    }
    // True while an interface is held.
    explicit operator bool() const { return ptr != nullptr; }

private:
    T* ptr = nullptr;
};
