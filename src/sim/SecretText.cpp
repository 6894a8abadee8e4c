#include "sim/SecretText.h"

#include <algorithm>
#include <string.h>

namespace kestrel {

SecretText& SecretText::operator=(const SecretText& other)
{
    if (this != &other)
        assign(other.view());
    return *this;
}

void SecretText::assign(std::string_view text)
{
    clear();
    m_size = std::min(text.size(), kCapacity);
    std::copy_n(text.begin(), m_size, m_buffer.begin());
}

SecretText SecretText::fromText(QStringView text)
{
    SecretText s;
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(text.size()), kCapacity);
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[static_cast<qsizetype>(i)].unicode();
        s.m_buffer[i] = c < 0x100 ? static_cast<char>(c) : '?';
    }
    s.m_size = n;
    return s;
}

void SecretText::clear()
{
    // explicit_bzero is not optimised away like a memset before the object dies.
    explicit_bzero(m_buffer.data(), m_buffer.size());
    m_size = 0;
}

} // namespace kestrel
