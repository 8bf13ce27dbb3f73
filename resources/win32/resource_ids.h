// Identifiers of the resources the executable carries, shared by the .rc
// file and the code that loads them.
#pragma once

#define IDI_APP 1
#define IDI_FORM1 2
#define IDR_SPLASH_GIF 101
#define IDR_MAIN_JPG 102
#define IDR_ABOUT_BMP 103
