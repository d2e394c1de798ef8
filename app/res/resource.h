#pragma once
// Identifiers of the dialogs, controls, icon, strings and commands.

namespace korzenik::res {

inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDS_ABOUT = 101;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDI_APP = 128;
inline constexpr int IDM_ABOUT = 0x0010;

inline constexpr int IDOK = 1;
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDC_CHART_FRAME = 1000;
inline constexpr int IDC_START = 1002;
inline constexpr int IDC_END = 1003;
inline constexpr int IDC_PRECISION = 1004;
inline constexpr int IDC_CONFIRM = 1005;
inline constexpr int IDC_COMPUTE = 1006;
inline constexpr int IDC_AUTO = 1007;
inline constexpr int IDC_RESULTS = 1008;
inline constexpr int IDC_XMIN = 1009;
inline constexpr int IDC_XMAX = 1010;
inline constexpr int IDC_YMIN = 1011;
inline constexpr int IDC_YMAX = 1012;
inline constexpr int IDC_FUNCTION = 1013;
inline constexpr int IDC_FUNCTION_GROUP = 1014;
inline constexpr int IDC_CHART_GROUP = 1015;
inline constexpr int IDC_START_LABEL = 1016;
inline constexpr int IDC_END_LABEL = 1017;
inline constexpr int IDC_PRECISION_LABEL = 1018;
inline constexpr int IDC_EXPRESSION = 1019;
inline constexpr int IDC_EXPRESSION_LABEL = 1020;

}  // namespace korzenik::res
