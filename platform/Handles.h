// Opaque handles of the Windows calls that the catalogue code passes around.
//
// They name objects of this framework (a window, a canvas, a bitmap's pixels) without exposing
// them; only the framework's own functions look inside.
#pragma once

struct HWND__;
struct HDC__;
struct HBITMAP__;
struct HICON__;
using HWND = HWND__*;
using HDC = HDC__*;
using HBITMAP = HBITMAP__*;
using HICON = HICON__*;
