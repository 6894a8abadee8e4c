#include "reader/VirtualLine.h"

#include <utility>

namespace kestrel {

VirtualLine::VirtualLine(std::unique_ptr<emulator::Icc> card)
    : VirtualLine(std::move(card), emulator::SerialFace::Options{})
{}

VirtualLine::VirtualLine(std::unique_ptr<emulator::Icc> card, const emulator::SerialFace::Options& options)
    : m_card(std::move(card)), m_face(*m_card, options)
{}

VirtualLine::~VirtualLine()
{
    close();
}

bool VirtualLine::open(const std::string& /*path*/)
{
    m_open = true;
    return true;
}

void VirtualLine::close()
{
    if (!m_open)
        return;
    m_face.setDtr(false);
    m_face.setRts(false);
    m_face.purge();
    m_open = false;
}

bool VirtualLine::configure(int baud, Parity parity)
{
    if (!m_open || baud <= 0)
        return false;
    m_face.setLine(baud, static_cast<int>(parity));
    return true;
}

bool VirtualLine::setDtr(bool on)
{
    if (!m_open)
        return false;
    m_face.setDtr(on);
    return true;
}

bool VirtualLine::setRts(bool on)
{
    if (!m_open)
        return false;
    m_face.setRts(on);
    return true;
}

bool VirtualLine::purge()
{
    if (!m_open)
        return false;
    m_face.purge();
    return true;
}

bool VirtualLine::write(uint8_t byte)
{
    if (!m_open)
        return false;
    m_face.hostWrite(byte);
    return true;
}

int VirtualLine::read(int timeoutMs)
{
    if (!m_open)
        return -1;
    return m_face.hostRead(timeoutMs);
}

} // namespace kestrel
