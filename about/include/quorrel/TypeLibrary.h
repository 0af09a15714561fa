#pragma once

#include <QUuid>

#include <cstdint>

// The identity of the Quorrel about-box library: its type library, its two
// classes with their default interfaces, and the dispatch ids of their
// members. Clients that bind late use these ids; the in-process server
// registers the classes under them.
namespace quorrel {

// Type library "Quorrel" 44.0 (2C.0 as the registry writes it).
inline constexpr QUuid kLibraryId{0x6A1C48EE, 0x061E, 0x11D3, 0xA4, 0x4E, 0xC9, 0xBA, 0x81, 0x4B, 0xF5, 0x06};
inline constexpr int kLibraryMajorVersion = 0x2C;
inline constexpr int kLibraryMinorVersion = 0;
inline constexpr char kLibraryVersionText[] = "2C.0";
inline constexpr char kLibraryName[] = "Quorrel";

// The caption of the library's message boxes.
inline constexpr char kLibraryTitle[] = "Quorrel";

// COrlaAboutDlg and its default interface _COrlaAboutDlg.
inline constexpr QUuid kCOrlaAboutDlgClassId{0x6A1C48F0, 0x061E, 0x11D3, 0xA4, 0x4E, 0xC9, 0xBA, 0x81, 0x4B, 0xF5, 0x06};
inline constexpr QUuid kCOrlaAboutDlgInterfaceId{0x6028D94F, 0x4EA8, 0x4FFB, 0x80, 0xDF, 0x83, 0x6E, 0x90, 0x2F, 0xB8, 0x32};
inline constexpr char kCOrlaAboutDlgProgId[] = "Quorrel.COrlaAboutDlg";

namespace COrlaAboutDlgDispId {
inline constexpr std::int32_t Hyperlink = 0x68030007;
inline constexpr std::int32_t Notes = 0x68030006;
inline constexpr std::int32_t SysInfo = 0x68030005;
inline constexpr std::int32_t Version = 0x68030004;
inline constexpr std::int32_t Show = 0x60030008;
inline constexpr std::int32_t Font = 0x68030003;
inline constexpr std::int32_t Picture = 0x68030002;
inline constexpr std::int32_t CopyrightMsg = 0x68030001;
inline constexpr std::int32_t ProductName = 0x68030000;
} // namespace COrlaAboutDlgDispId

// GMisc, the library's global object, and its default interface _GMisc.
inline constexpr QUuid kGMiscClassId{0x4CA34524, 0x0B85, 0x11D3, 0xA4, 0x4E, 0xD0, 0x94, 0x86, 0xF9, 0x2F, 0x04};
inline constexpr QUuid kGMiscInterfaceId{0x116264FD, 0x2BBC, 0x450A, 0xA9, 0x2D, 0xE3, 0x6E, 0xA8, 0x4F, 0x7E, 0xAB};
inline constexpr char kGMiscProgId[] = "Quorrel.GMisc";

namespace GMiscDispId {
inline constexpr std::int32_t DoAboutBox = 0x60030000;
inline constexpr std::int32_t DoAboutBox2 = 0x60030001;
inline constexpr std::int32_t DoAboutBox3 = 0x60030002;
inline constexpr std::int32_t FmtBool = 0x60030003;
inline constexpr std::int32_t FmtVersion = 0x60030004;
inline constexpr std::int32_t CenterForm = 0x60030005;
} // namespace GMiscDispId

// The ids of the library's string table.
namespace StringId {
inline constexpr int LegalWarning = 100;
inline constexpr int HumorousWarning = 101;
} // namespace StringId

} // namespace quorrel
