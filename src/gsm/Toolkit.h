#pragma once

#include <cstdint>

// GSM 11.14 BER-TLV and SIMPLE-TLV tags, device identities, command types and data coding
// schemes the program and the virtual card's toolkit both use. Dependency-free on purpose.
namespace kestrel::gsm::toolkit {

// BER-TLV tags
inline constexpr uint8_t kProactiveCommandTag = 0xD0;
inline constexpr uint8_t kSmsPpDownloadTag = 0xD1;
inline constexpr uint8_t kMenuSelectionTag = 0xD3;

// SIMPLE-TLV tags (without the comprehension-required bit)
inline constexpr uint8_t kTagCommandDetails = 0x01;
inline constexpr uint8_t kTagDeviceIdentities = 0x02;
inline constexpr uint8_t kTagResult = 0x03;
inline constexpr uint8_t kTagDuration = 0x04;
inline constexpr uint8_t kTagAlpha = 0x05;
inline constexpr uint8_t kTagTextString = 0x0D;
inline constexpr uint8_t kTagItem = 0x0F;
inline constexpr uint8_t kTagItemIdentifier = 0x10;
inline constexpr uint8_t kTagResponseLength = 0x11;
inline constexpr uint8_t kComprehension = 0x80; // set on a tag: comprehension required
inline constexpr uint8_t kTagMask = 0x7F;

// Device identities
inline constexpr uint8_t kDeviceKeypad = 0x01;
inline constexpr uint8_t kDeviceDisplay = 0x02;
inline constexpr uint8_t kDeviceEarpiece = 0x03;
inline constexpr uint8_t kDeviceSim = 0x81;
inline constexpr uint8_t kDeviceMe = 0x82;
inline constexpr uint8_t kDeviceNetwork = 0x83;

// Type of command (command details, byte 2)
inline constexpr uint8_t kDisplayText = 0x21;
inline constexpr uint8_t kGetInkey = 0x22;
inline constexpr uint8_t kGetInput = 0x23;
inline constexpr uint8_t kSelectItem = 0x24;
inline constexpr uint8_t kSetUpMenu = 0x25;

// General result (result, byte 1)
inline constexpr uint8_t kResultOk = 0x00;
inline constexpr uint8_t kResultTerminatedByUser = 0x10;
inline constexpr uint8_t kResultBackwardMove = 0x11;
inline constexpr uint8_t kResultNoResponse = 0x12;
inline constexpr uint8_t kResultMeUnable = 0x20;
inline constexpr uint8_t kResultBeyondMe = 0x30;

// Data coding schemes of a text string (GSM 03.38)
inline constexpr uint8_t kDcsPacked = 0x00;
inline constexpr uint8_t kDcs8Bit = 0x04;
inline constexpr uint8_t kDcsUcs2 = 0x08;

} // namespace kestrel::gsm::toolkit
