#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include <QStringView>

namespace kestrel {

// A PIN or PUK text. It lives in a fixed buffer of its own (never on the heap, so no copy is left
// behind by a reallocation), is overwritten when cleared, replaced or destroyed, and has no
// conversion to QString or std::string: nothing can log or print it by accident.
class SecretText
{
public:
    // Longer texts are cut; a PIN block takes at most 8 digits anyway.
    static constexpr std::size_t kCapacity = 32;

    SecretText() = default;
    explicit SecretText(std::string_view text) { assign(text); }
    SecretText(const SecretText& other) { assign(other.view()); }
    SecretText& operator=(const SecretText& other);
    ~SecretText() { clear(); }

    void assign(std::string_view text);
    // Takes the Latin-1 characters of a typed text; others become '?', which ends the digits of a
    // PIN block. No temporary copy is made.
    static SecretText fromText(QStringView text);

    void clear();
    bool empty() const { return m_size == 0; }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return {m_buffer.data(), m_size}; }

    bool operator==(const SecretText& other) const { return view() == other.view(); }

private:
    std::array<char, kCapacity> m_buffer{};
    std::size_t m_size = 0;
};

} // namespace kestrel
