#pragma once
// The row grid every panel of the parameter form is laid out on: rows 28
// pixels apart, labels at the left, fields and dotted addresses to the right,
// edits 3 pixels above their label.

namespace pargen_grid {

inline constexpr int Row_Height = 28;
inline constexpr int Label_Left = 14;
inline constexpr int Field_Left = 191;
inline constexpr int Field_Width = 238;
inline constexpr int Edit_Height = 21;
inline constexpr int List_Height = 22;
inline constexpr int Check_Height = 17;
inline constexpr int Octet_Width = 55;
inline constexpr int Octet_Lefts[4] = { 191, 252, 313, 374 };
// Width of a check box alone on its row, and of one sharing it with a field.
inline constexpr int Check_Width_Row = 415;
inline constexpr int Check_Width_Field = Field_Left - Label_Left - 4;

// Row 1 is the top row.
constexpr int Label_Top(int row)
{
    return 12 + (row - 1) * Row_Height;
}
constexpr int Field_Top(int row)
{
    return Label_Top(row) - 3;
}

} // namespace pargen_grid
