#pragma once

#include "base/StringIds.h"

namespace kestrel {

// Command ids of the phone book and fixed-dialling-number windows: their buttons, the context
// menu, the keys of the list and what the main window forwards.
namespace PhoneBookCommand {
inline constexpr int kClose = 2;
inline constexpr int kRead = 1001;
inline constexpr int kWrite = sid::WriteToSim_1002;
inline constexpr int kClearAll = 1004;
inline constexpr int kFind = 1005;
inline constexpr int kSort = 1006;
inline constexpr int kAddCode = 1007;
inline constexpr int kEdit = sid::Edit_1027;
inline constexpr int kInsert = 2053;        // IDM_INSERT
inline constexpr int kDelete = 2054;        // IDM_DEL
inline constexpr int kClearSelected = 2055; // IDM_DELSEL
inline constexpr int kSelectAll = 2056;     // IDM_SELALL
inline constexpr int kCut = sid::Cut_2057;
inline constexpr int kCopy = 2058;
inline constexpr int kPaste = sid::Paste_2059;
inline constexpr int kEditEntry = sid::Edit_2060;
inline constexpr int kClear = sid::Clear_2061; // SMAZAT
inline constexpr int kSelectRange = 2062;
inline constexpr int kInternationalize = 2063; // IDM_INTERNATIONALIZE
inline constexpr int kUndo = 2064;
inline constexpr int kRedo = 2065;
inline constexpr int kFindNext = sid::CommandFindNext_2100;
inline constexpr int kOpenFile = sid::OpenFile_40002;
inline constexpr int kSaveFile = sid::SaveFile_40005;
inline constexpr int kAddFromFile = sid::AddFromFile_40006;
} // namespace PhoneBookCommand

} // namespace kestrel
