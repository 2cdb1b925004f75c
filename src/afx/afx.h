// The thin framework layer the program is written against.
#ifndef TOLLAN_AFX_AFX_H
#define TOLLAN_AFX_AFX_H

#include "afx/bitmap_button.h"
#include "afx/controls.h"
#include "afx/data_exchange.h"
#include "afx/dialog.h"
#include "afx/image_list.h"
#include "afx/menu.h"
#include "afx/message_map.h"
#include "afx/win_app.h"
#include "afx/wnd.h"

#endif
