#include "reader/KvriDriver.h"

namespace kestrel {

namespace {

thread_local uint32_t t_lastError = 0;

// The buffers of the request running on this thread, for the library's resolver.
thread_local const std::span<uint8_t>* t_buffers = nullptr;
thread_local size_t t_bufferCount = 0;

void* resolveBuffer(uint32_t handle, uint32_t* length)
{
    if (length)
        *length = 0;
    if (handle == 0 || handle > t_bufferCount || !t_buffers)
        return nullptr;
    const std::span<uint8_t> buffer = t_buffers[handle - 1];
    if (length)
        *length = static_cast<uint32_t>(buffer.size());
    return buffer.data();
}

// Sets the thread's buffer table for the length of one request.
class BufferScope
{
public:
    explicit BufferScope(std::initializer_list<std::span<uint8_t>> buffers)
        : m_savedBuffers(t_buffers), m_savedCount(t_bufferCount)
    {
        t_buffers = buffers.begin();
        t_bufferCount = buffers.size();
    }
    ~BufferScope()
    {
        t_buffers = m_savedBuffers;
        t_bufferCount = m_savedCount;
    }
    BufferScope(const BufferScope&) = delete;
    BufferScope& operator=(const BufferScope&) = delete;

private:
    const std::span<uint8_t>* m_savedBuffers;
    size_t m_savedCount;
};

} // namespace

KvriDriver::KvriDriver(PlatformFamily family) : m_family(family) {}

KvriDriver::~KvriDriver() = default;

std::shared_ptr<KvriDriver> KvriDriver::processDriver()
{
    static const std::shared_ptr<KvriDriver> driver = std::make_shared<KvriDriver>();
    return driver;
}

const char* KvriDriver::libraryName(PlatformFamily family)
{
    switch (family) {
    case PlatformFamily::Windows9x:
        return "KVRI95";
    case PlatformFamily::NT:
        return "KVRINT";
    case PlatformFamily::Other:
        break;
    }
    return nullptr;
}

void KvriDriver::load()
{
    const char* name = libraryName(m_family);
    if (!name) {
        m_loadFailure = kLibraryNotLoadable;
        m_loadError = "no driver library for this platform";
        return;
    }
    m_library = std::make_unique<ReaderLibrary>(name);
    if (!m_library->isLoaded()) {
        m_loadFailure = kLibraryNotLoadable;
        m_loadError = m_library->error();
        m_library.reset();
        return;
    }
    m_entry = m_library->function<Entry>(kEntryName);
    if (!m_entry)
        m_entry = m_library->function<Entry>(kPlainEntryName);
    const auto setResolver = m_library->function<SetResolver>(kResolverName);
    if (!m_entry || !setResolver) {
        m_loadError =
            std::string(m_entry ? kResolverName : kEntryName) + " not found in " + ReaderLibrary::fileFor(name);
        m_entry = nullptr;
        m_loadFailure = kEntryPointMissing;
        return;
    }
    setResolver(&resolveBuffer);
}

uint32_t KvriDriver::request(Block& block, std::initializer_list<std::span<uint8_t>> buffers)
{
    std::call_once(m_loadOnce, [this] { load(); });
    if (!m_entry) {
        block[kCodeWord] = m_loadFailure;
        block[kFlagsWord] |= kLibraryMissingFlag;
    } else {
        const BufferScope scope(buffers);
        m_entry(&block[kCodeWord], &block[kDataWord], &block[kArgumentWord], &block[kTimeoutWord],
                &block[kSendCountWord], &block[kCapacityWord], &block[kFlagsWord]);
    }
    const uint32_t code = block[kCodeWord];
    if (code != 0)
        t_lastError = code;
    return code;
}

uint32_t KvriDriver::lastError()
{
    return t_lastError;
}

std::string KvriDriver::loadError() const
{
    return m_loadError;
}

} // namespace kestrel
