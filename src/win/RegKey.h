#pragma once
#include <windows.h>

// An open registry key, closed when the object goes. Not copyable.
class RegKey
{
public:
    // No key open.
    RegKey() = default;
    // Takes over an already open key.
    explicit RegKey(HKEY key) : key(key) {}
    // Closes the key.
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    // Moving hands the key over; the source is left closed.
    RegKey(RegKey&& other) noexcept : key(other.Detach()) {}
    // Closes this key and takes over the other's.
    RegKey& operator=(RegKey&& other) noexcept
    {
        if (this != &other) {
            Close();
            key = other.Detach();
        }
        return *this;
    }

    // Opens root\path with the given access; returns the system's error code.
    LONG Open(HKEY root, const char* path, REGSAM access)
    {
        Close();
        return RegOpenKeyExA(root, path, 0, access, &key);
    }
    // Opens root\path, creating it and any missing keys above it; returns the
    // system's error code.
    LONG Create(HKEY root, const char* path, REGSAM access)
    {
        Close();
        return RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    }
    // Closes the key if one is open.
    void Close()
    {
        if (key != nullptr) {
            RegCloseKey(key);
            key = nullptr;
        }
    }
    // The key handle, null when none is open.
    HKEY Get() const { return key; }
    // Gives up ownership of the key without closing it.
    HKEY Detach()
    {
        HKEY k = key;
        key = nullptr;
        return k;
    }
    // True while a key is open.
    explicit operator bool() const { return key != nullptr; }

private:
    HKEY key = nullptr;
};
