#pragma once

#include <QUuid>

#include <cstdint>

// The identity of the Tarvo control library: its one type library and the
// classes, interfaces and dispatch ids it describes. Hosts that bind late
// use these ids; the in-process server registers the classes under them.
namespace tarvo {

// Type library "Tarvo" 1.0.
inline constexpr QUuid kLibraryId{0x58AE1F7A, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr int kLibraryMajorVersion = 1;
inline constexpr int kLibraryMinorVersion = 0;
inline constexpr char kLibraryName[] = "Tarvo";

// XShpLabel: the class, its default interface _XShpLabel and its event
// interface __XShpLabel.
inline constexpr QUuid kXShpLabelClassId{0x58AE1F7C, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr QUuid kXShpLabelInterfaceId{0x58AE1F7B, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr QUuid kXShpLabelEventsId{0x58AE1F7D, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr char kXShpLabelProgId[] = "Tarvo.XShpLabel";
// The 16 x 15 toolbox bitmap resource of the class.
inline constexpr int kXShpLabelToolboxBitmap = 30001;

// Dispatch ids of the members of _XShpLabel.
namespace XShpLabelDispId {
inline constexpr std::int32_t ForeColor = 0x6803000E;
inline constexpr std::int32_t Enabled = 0x6803000D;
inline constexpr std::int32_t Font = -512; // the standard font id, 0xFFFFFE00
inline constexpr std::int32_t BorderStyle = 0x6803000C;
inline constexpr std::int32_t Refresh = 0x60030013;
inline constexpr std::int32_t BorderColor = 0x6803000B;
inline constexpr std::int32_t BorderWidth = 0x6803000A;
inline constexpr std::int32_t Caption = 0x68030009;
inline constexpr std::int32_t FillColor = 0x68030008;
inline constexpr std::int32_t FillStyle = 0x68030007;
inline constexpr std::int32_t DisabledBorderColor = 0x68030006;
inline constexpr std::int32_t DisabledBorderStyle = 0x68030005;
inline constexpr std::int32_t DisabledBorderWidth = 0x68030004;
inline constexpr std::int32_t DisabledFillColor = 0x68030003;
inline constexpr std::int32_t DisabledFillStyle = 0x68030002;
inline constexpr std::int32_t DisabledFont = 0x68030001;
inline constexpr std::int32_t DisabledForeColor = 0x68030000;
} // namespace XShpLabelDispId

// Dispatch ids of the events of __XShpLabel.
namespace XShpLabelEventId {
inline constexpr std::int32_t Click = 1;
inline constexpr std::int32_t DblClick = 2;
inline constexpr std::int32_t KeyDown = 3;
inline constexpr std::int32_t KeyPress = 4;
inline constexpr std::int32_t KeyUp = 5;
inline constexpr std::int32_t MouseDown = 6;
inline constexpr std::int32_t MouseMove = 7;
inline constexpr std::int32_t MouseUp = 8;
} // namespace XShpLabelEventId

// XGlowLabel: the class, its default interface _XGlowLabel and its event
// interface __XGlowLabel.
inline constexpr QUuid kXGlowLabelClassId{0x58AE1F7F, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr QUuid kXGlowLabelInterfaceId{0x58AE1F7E, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr QUuid kXGlowLabelEventsId{0x58AE1F80, 0x29A3, 0x11D4, 0xB0, 0xAB, 0x00, 0x62, 0x08, 0xC1, 0x00, 0x00};
inline constexpr char kXGlowLabelProgId[] = "Tarvo.XGlowLabel";
// The 16 x 15 toolbox bitmap resource of the class.
inline constexpr int kXGlowLabelToolboxBitmap = 30000;

// Dispatch ids of the members of _XGlowLabel.
namespace XGlowLabelDispId {
inline constexpr std::int32_t BackColor = 0x68030008;
inline constexpr std::int32_t ForeColor = 0x68030007;
inline constexpr std::int32_t Enabled = 0x68030006;
inline constexpr std::int32_t Font = -512; // the standard font id, 0xFFFFFE00
inline constexpr std::int32_t BackStyle = 0x68030005;
inline constexpr std::int32_t BorderStyle = 0x68030004;
inline constexpr std::int32_t Refresh = 0x6003000B;
inline constexpr std::int32_t Alignment = 0x68030003;
inline constexpr std::int32_t Appearance = 0x68030002;
inline constexpr std::int32_t Caption = 0x68030001;
inline constexpr std::int32_t Interval = 0x68030000;
} // namespace XGlowLabelDispId

// Dispatch ids of the events of __XGlowLabel.
namespace XGlowLabelEventId {
inline constexpr std::int32_t Click = 1;
inline constexpr std::int32_t DblClick = 2;
inline constexpr std::int32_t MouseDown = 3;
inline constexpr std::int32_t MouseMove = 4;
inline constexpr std::int32_t MouseUp = 5;
} // namespace XGlowLabelEventId

} // namespace tarvo
