#include "reader/ReaderLibrary.h"

#include <cstdlib>

#include <dlfcn.h>

namespace kestrel {

ReaderLibrary::ReaderLibrary(const std::string& name)
{
    const std::string file = fileFor(name);
    // RTLD_LOCAL: the library's symbols stay out of the way of everything loaded after it.
    m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = dlerror();
        m_error = why ? why : file + ": cannot be loaded";
    }
}

ReaderLibrary::~ReaderLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

std::string ReaderLibrary::fileFor(const std::string& name)
{
    std::string file = "lib" + name + ".so";
    const char* folder = std::getenv(kPathVariable);
    if (folder && *folder) {
        std::string path = folder;
        if (path.back() != '/')
            path += '/';
        return path + file;
    }
    // A bare file name: dlopen searches the system's library path.
    return file;
}

void* ReaderLibrary::symbol(const char* name) const
{
    if (!m_handle)
        return nullptr;
    return dlsym(m_handle, name);
}

} // namespace kestrel
