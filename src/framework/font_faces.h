#pragma once
// Every font face the program names. The face of the small captions it paints (the settings
// window's strip, the position windows) differs by face language, so the string table holds it
// (IDS_CAPTION_FACE) beside the other texts of each language.

namespace fw {

// The tray menu's upright banner.
inline constexpr wchar_t kBannerFace[] = L"Arial";
// The number in the middle of each position window.
inline constexpr wchar_t kPositionNumberFace[] = L"Times New Roman";
// The photo's path on the wallpaper (GDI+, which falls back to no other face).
inline constexpr char kPathTextFace[] = "Tahoma";
// The calendar's month and days until the user chooses others.
inline constexpr char kCalendarFace[] = "Georgia";

}  // namespace fw
