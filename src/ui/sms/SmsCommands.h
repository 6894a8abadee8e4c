
#include "base/StringIds.h"

#pragma once

namespace kestrel {

// Command ids of an SMS window: its buttons, the context menu, the keys of the list (the same ids
// as the phone book windows' 2053-2059) and what the main window forwards.
namespace SmsCommand {
inline constexpr int kClose = 2;
inline constexpr int kClearAll = 5;
inline constexpr int kWrite = sid::WriteToSim_1024;
inline constexpr int kEdit = sid::Edit_1027;
inline constexpr int kRead = sid::ReadFromSim_1032;
inline constexpr int kInsert = 2053;
inline constexpr int kDelete = 2054;
inline constexpr int kClearSelected = 2055;
inline constexpr int kSelectAll = 2056;
inline constexpr int kCut = sid::Cut_2057;
inline constexpr int kCopy = 2058;
inline constexpr int kPaste = sid::Paste_2059;
inline constexpr int kEditEntry = sid::Edit_2060;
inline constexpr int kClear = sid::Clear_2061;
inline constexpr int kSelectRange = 2062;
inline constexpr int kUndo = 2064;
inline constexpr int kRedo = 2065;
inline constexpr int kOpenFile = sid::OpenFile_40008;
inline constexpr int kSaveFile = sid::SaveFile_40009;
inline constexpr int kAddToFile = sid::AddToFile_40010;
} // namespace SmsCommand

} // namespace kestrel
