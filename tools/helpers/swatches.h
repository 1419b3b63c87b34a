// The swatch window's own ids, shared by its resource script and its code.
#pragma once
#define IDD_SWATCHES      100
#define IDC_SWATCH_FIRST  101   // three swatches: 101, 102, 103
