#include "mainwnd/page_cache.h"

#include "config/config_dialog.h"
#include "paneltest/test_dialog.h"

namespace {

template <class Page>
bool KeepIn(Page** slots, int slot, Page* page) {
    if (slot < 0)
        return false;
    if (slots[slot] != page)
        delete slots[slot];
    slots[slot] = page;
    return true;
}

}  // namespace

CPageCache::CPageCache() {
    for (int slot = 0; slot < kSlots; ++slot) {
        m_configPages[slot] = nullptr;
        m_testPages[slot] = nullptr;
    }
}

CPageCache::~CPageCache() { DeleteAll(); }

int CPageCache::SlotOf(tagBGDevHWType type) {
    switch (type) {
    case BG_HW_PUSHBUTTON_8X8: return 0;
    case BG_HW_TOGGLE_8X8: return 1;
    case BG_HW_RADIO: return 2;
    default: return -1;
    }
}

CConfigDialog* CPageCache::ConfigPage(tagBGDevHWType type) const {
    const int slot = SlotOf(type);
    return slot < 0 ? nullptr : m_configPages[slot];
}

CTestDialog* CPageCache::TestPage(tagBGDevHWType type) const {
    const int slot = SlotOf(type);
    return slot < 0 ? nullptr : m_testPages[slot];
}

bool CPageCache::Keep(tagBGDevHWType type, CConfigDialog* page) { return KeepIn(m_configPages, SlotOf(type), page); }

bool CPageCache::Keep(tagBGDevHWType type, CTestDialog* page) { return KeepIn(m_testPages, SlotOf(type), page); }

void CPageCache::DeleteAll() {
    for (int slot = 0; slot < kSlots; ++slot) {
        delete m_configPages[slot];
        m_configPages[slot] = nullptr;
        delete m_testPages[slot];
        m_testPages[slot] = nullptr;
    }
}
