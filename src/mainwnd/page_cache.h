// CPageCache: the pages of the main window, one per mode and panel type, made the first
// time a device of that type is shown (or ahead of that, while the window is idle) and
// kept until the window closes. The page shown and the parked ones all live here; the
// main window says which one is shown.
#ifndef TOLLAN_MAINWND_PAGE_CACHE_H
#define TOLLAN_MAINWND_PAGE_CACHE_H

#include "VUZoz.h"

class CConfigDialog;
class CTestDialog;

class CPageCache {
public:
    CPageCache();
    ~CPageCache();
    CPageCache(const CPageCache&) = delete;
    CPageCache& operator=(const CPageCache&) = delete;

    // The kept page of a panel type, or null (also for a type without pages).
    CConfigDialog* ConfigPage(tagBGDevHWType type) const;
    CTestDialog* TestPage(tagBGDevHWType type) const;
    // Keeps page as the one of its type, deleting one kept before. False for a type
    // without pages (the page is not kept then).
    bool Keep(tagBGDevHWType type, CConfigDialog* page);
    bool Keep(tagBGDevHWType type, CTestDialog* page);
    // Deletes every page; their windows go without running their own WM_DESTROY handling.
    void DeleteAll();
    // The first type of attached (ended by BG_HW_NONE) that has pages but none kept in the
    // mode; BG_HW_NONE when every such type has one.
    tagBGDevHWType MissingType(const tagBGDevHWType* attached, bool testMode) const;

    // The page classes of the two modes, by panel type; null for a type without pages.
    static CConfigDialog* NewConfigPage(tagBGDevHWType type);
    static CTestDialog* NewTestPage(tagBGDevHWType type);

private:
    // Slot of a panel type, or -1.
    static int SlotOf(tagBGDevHWType type);
    static const int kSlots = 3;

    CConfigDialog* m_configPages[kSlots];
    CTestDialog* m_testPages[kSlots];
};

#endif
