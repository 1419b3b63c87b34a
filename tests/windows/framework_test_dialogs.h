#pragma once
// Templates used only by the window layer's tests.
#define IDD_FW_PROBE     9001
#define IDC_FW_PLAIN     9011
#define IDC_FW_BOUND     9012
#define IDC_FW_RANGE_A   9013
#define IDC_FW_RANGE_B   9014
#define IDC_FW_EDIT      9015
