#pragma once

// The tests' handle on a fake reader library: the same file the reader under test loads, so both
// share one copy of the fake and its state.

#include <bit>
#include <stdlib.h>
#include <string>

#include <dlfcn.h>

#include "reader/ReaderLibrary.h"
#include "reader/fakes/FakeReaderHooks.h"

namespace kestrel::test {

class FakeReaderLibrary
{
public:
    // file: e.g. "libKVRINT.so" in folder.
    FakeReaderLibrary(const std::string& folder, const std::string& file)
        : m_handle(dlopen((folder + "/" + file).c_str(), RTLD_NOW | RTLD_LOCAL))
    {}
    ~FakeReaderLibrary()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    FakeReaderLibrary(const FakeReaderLibrary&) = delete;
    FakeReaderLibrary& operator=(const FakeReaderLibrary&) = delete;

    bool isLoaded() const { return m_handle != nullptr; }

    template <typename Fn>
    Fn hook(const char* name) const
    {
        void* address = m_handle ? dlsym(m_handle, name) : nullptr;
        return address ? std::bit_cast<Fn>(address) : nullptr;
    }

private:
    void* m_handle;
};

// Points the readers at a library folder for the life of the object.
class LibraryPath
{
public:
    explicit LibraryPath(const std::string& folder) { setenv(ReaderLibrary::kPathVariable, folder.c_str(), 1); }
    ~LibraryPath() { unsetenv(ReaderLibrary::kPathVariable); }
    LibraryPath(const LibraryPath&) = delete;
    LibraryPath& operator=(const LibraryPath&) = delete;
};

} // namespace kestrel::test
