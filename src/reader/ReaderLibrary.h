#pragma once

#include <bit>
#include <string>

namespace kestrel {

// A reader's access library, loaded at run time: NAME is found as lib<NAME>.so.
//
// Where it is looked for: when the environment variable KESTREL_READER_LIBRARY_PATH names a
// folder (not empty), only in that folder — tests point it at their fake libraries; otherwise by
// the system's own search for shared libraries (LD_LIBRARY_PATH, the ld.so cache, /usr/lib ...).
// The library is released when the object goes.
class ReaderLibrary
{
public:
    static constexpr const char* kPathVariable = "KESTREL_READER_LIBRARY_PATH";

    explicit ReaderLibrary(const std::string& name);
    ~ReaderLibrary();
    ReaderLibrary(const ReaderLibrary&) = delete;
    ReaderLibrary& operator=(const ReaderLibrary&) = delete;

    // What dlopen is given for NAME under the current environment.
    static std::string fileFor(const std::string& name);

    bool isLoaded() const { return m_handle != nullptr; }
    // Why loading failed (empty when it did not).
    const std::string& error() const { return m_error; }

    // An exported symbol by its exact name; null when the library is not loaded or lacks it.
    void* symbol(const char* name) const;

    // The same, as a function pointer of type Fn.
    template <typename Fn>
    Fn function(const char* name) const
    {
        void* address = symbol(name);
        return address ? std::bit_cast<Fn>(address) : nullptr;
    }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace kestrel
