#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>

#include "reader/ReaderLibrary.h"

namespace kestrel {

// The reader driver library: a single entry point that takes a request block of seven 32-bit
// words, zeroed before each request:
//
//   word 0  data reference (transfer, memory read)
//   word 1  transfer time-out in milliseconds; for control requests a reference to the 32-bit
//           parameter, or 0 for none
//   word 2  argument in; status word out (status request)
//   word 3  function code in; error code out (0 = success)
//   word 4  receive capacity in; received count out (transfer)
//   word 5  send count (transfer)
//   word 6  flags; bit 0 set by the program when the library or its entry point cannot be found
//
// The entry is called with seven pointers into the block, in this order: word 3, word 0, word 2,
// word 1, word 5, word 4, word 6.
//
// This port's binary interface on Linux:
//
// - The library is lib<NAME>.so, found as ReaderLibrary describes. NAME is KVRINT: this port
//   answers "NT" when asked for its platform family (KVRI95 would be the Windows 9x driver).
// - The entry point is looked up by its decorated name "_KvrDllEntry@28" first. ELF linkers read
//   an '@' in a symbol name as a version tag, so a library built on Linux cannot carry that name;
//   the stdcall decoration (@ and the size of the arguments) only exists on Windows, and such a
//   library exports the undecorated "_KvrDllEntry", which is looked up next. Its type is Entry.
// - A 32-bit word cannot hold an address of a 64-bit process. Every word that would carry a
//   pointer (word 0, word 1 of control requests, and the destination at offset 46 of the
//   memory-read parameter area) therefore carries a buffer handle instead: handle n + 1 names the
//   n-th buffer given to request(), 0 names none. The library resolves a handle to an address and
//   its length through the resolver the program installs once, right after the entry point is
//   found, with the library's second export "KvrSetBufferResolver" (type SetResolver); a library
//   without it counts as one without its entry point. Handles are valid only during the request
//   that names them, on the thread that makes it, and the library must not touch more than the
//   length it was given. Word order and meanings stay as above.
//
// The library is loaded at the first request of the process and kept; a load that failed is not
// retried. Requests run on the calling thread.
class KvriDriver
{
public:
    enum class PlatformFamily
    {
        Windows9x,
        NT,
        Other
    };

    enum Word : size_t
    {
        kDataWord = 0,
        kTimeoutWord = 1,
        kArgumentWord = 2,
        kCodeWord = 3,
        kCapacityWord = 4,
        kSendCountWord = 5,
        kFlagsWord = 6
    };
    using Block = std::array<uint32_t, 7>;

    // Function codes.
    static constexpr uint32_t kOpenDriver = 0x7A02;
    static constexpr uint32_t kCloseDriver = 0x7A03;
    static constexpr uint32_t kSelectMode = 0x7A0A;
    static constexpr uint32_t kReadStatus = 0x7A11;
    static constexpr uint32_t kControl = 0x7A13;
    static constexpr uint32_t kTransfer = 0x7A18;
    static constexpr uint32_t kEndMode = 0x7A20;
    static constexpr uint32_t kReadMemory = 0x7A36;

    // Error codes the program itself puts into word 3.
    static constexpr uint32_t kLibraryNotLoadable = 263;
    static constexpr uint32_t kEntryPointMissing = 3;
    static constexpr uint32_t kLibraryMissingFlag = 0x1;

    static constexpr const char* kEntryName = "_KvrDllEntry@28";
    static constexpr const char* kPlainEntryName = "_KvrDllEntry";
    static constexpr const char* kResolverName = "KvrSetBufferResolver";

    using Entry = void (*)(uint32_t* code, uint32_t* data, uint32_t* argument, uint32_t* timeout, uint32_t* sendCount,
                           uint32_t* capacity, uint32_t* flags);
    // Address and length (in *length) of the buffer a handle names; null (length 0) for none.
    using Resolver = void* (*)(uint32_t handle, uint32_t* length);
    using SetResolver = void (*)(Resolver resolver);

    explicit KvriDriver(PlatformFamily family = platformFamily());
    ~KvriDriver();
    KvriDriver(const KvriDriver&) = delete;
    KvriDriver& operator=(const KvriDriver&) = delete;

    // The driver every KvriReader of the process shares.
    static std::shared_ptr<KvriDriver> processDriver();

    static PlatformFamily platformFamily() { return PlatformFamily::NT; }
    // The library's NAME for a platform family; null for a family that has no driver.
    static const char* libraryName(PlatformFamily family);

    static constexpr uint32_t bufferHandle(size_t index) { return static_cast<uint32_t>(index + 1); }

    // Runs one request on block (which the caller has zeroed and filled in); buffers are what its
    // handles name. Returns word 3 afterwards: 0 on success, else the error code, which also
    // becomes the calling thread's lastError().
    uint32_t request(Block& block, std::initializer_list<std::span<uint8_t>> buffers = {});

    // The error code of the calling thread's last failed request.
    static uint32_t lastError();

    // Why the library or its entry point is missing (empty while it has not been loaded or is fine).
    std::string loadError() const;

private:
    void load();

    PlatformFamily m_family;
    std::once_flag m_loadOnce;
    std::unique_ptr<ReaderLibrary> m_library;
    Entry m_entry = nullptr;
    uint32_t m_loadFailure = 0; // the error code every request gets when loading failed
    std::string m_loadError;
};

} // namespace kestrel
