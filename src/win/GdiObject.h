#pragma once
#include <windows.h>

// A GDI object of type H (HBRUSH, HFONT, HBITMAP, ...), deleted when the
// object goes. Not copyable.
template <class H>
class GdiObject
{
public:
    // Empty.
    GdiObject() = default;
    // Takes ownership of the handle.
    explicit GdiObject(H handle) : handle(handle) {}
    // Deletes the object.
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    // Moving hands the handle over; the source is left empty.
    GdiObject(GdiObject&& other) noexcept : handle(other.Detach()) {}
    // Deletes this handle and takes over the other's.
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    // Deletes the held object and takes ownership of the new one.
    void Reset(H newHandle = nullptr)
    {
        if (handle != nullptr && handle != newHandle)
            DeleteObject(handle);
        handle = newHandle;
    }
    // The handle, null when empty.
    H Get() const { return handle; }
    // Gives up ownership without deleting.
    H Detach()
    {
        H h = handle;
        handle = nullptr;
        return h;
    }
    // True while a handle is held.
    explicit operator bool() const { return handle != nullptr; }

private:
    H handle = nullptr;
};
