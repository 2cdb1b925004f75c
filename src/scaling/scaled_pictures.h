// The program's pictures at each scale, each loaded once per process and shared by every
// window that shows it: they live until the process ends and nothing else deletes them.
#ifndef TOLLAN_SCALING_SCALED_PICTURES_H
#define TOLLAN_SCALING_SCALED_PICTURES_H

#include <windows.h>

class CImageList;

namespace scaling {

// Bitmap baseId drawn for percent; when that scale is missing from the resources, the
// largest smaller one (a picture is never stretched). Null when none loads.
HBITMAP SharedPicture(UINT baseId, int percent);
bool IsSharedPicture(HBITMAP bitmap);

// Icon id with an image of size x size pixels (a larger image scaled down when the icon
// has no such image), loaded once per process and size.
HICON SharedIcon(UINT id, int size);

// The device list's pictures (four side by side, on the mask colour RGB(4,0,0)) at percent.
BOOL CreateDevicePictures(CImageList& pictures, int percent);

// The window's big and small icons at the sizes of dpi.
void ShowWindowIcons(HWND window, UINT iconId, int dpi);

}  // namespace scaling

#endif
