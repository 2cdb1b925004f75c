// The scale a window is shown at, and the picture scale that goes with it. Pictures exist
// at 100, 125, 150 and 200 %: the one for a scale of X % of bitmap B is resource
// B + 1000 (125 %), B + 2000 (150 %) or B + 3000 (200 %).
#ifndef TOLLAN_SCALING_DISPLAY_SCALE_H
#define TOLLAN_SCALING_DISPLAY_SCALE_H

#include <windows.h>

namespace scaling {

const int kBaseDpi = 96;

// The DPI of the monitor the window is on (per-monitor aware), else of the system.
int WindowDpi(HWND window);

// The picture scale in percent nearest to dpi: 100, 125, 150 or 200 (the larger on a tie).
int PictureScale(int dpi);
int PictureScaleOf(HWND window);

// length * percent / 100, halves rounded up.
int ScaleLength(int length, int percent);

// The resource of bitmap baseId drawn for percent, and back.
UINT ScaledPictureId(UINT baseId, int percent);
UINT BasePictureId(UINT pictureId);

// A system metric (SM_CXICON, ...) at dpi, where the system can tell it per DPI.
int SystemMetricForDpi(int index, int dpi);

}  // namespace scaling

#endif
