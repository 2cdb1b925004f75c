#include "mainwnd/page_cache.h"

#include "config/config_panel_b88.h"
#include "config/config_panel_rp.h"
#include "config/config_panel_t88.h"
#include "paneltest/panel_test_page_b88.h"
#include "paneltest/panel_test_page_rp.h"
#include "paneltest/panel_test_page_t88.h"

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

tagBGDevHWType CPageCache::MissingType(const tagBGDevHWType* attached, bool testMode) const {
    if (attached == nullptr)
        return BG_HW_NONE;
    for (int device = 0; attached[device] != BG_HW_NONE; ++device) {
        const int slot = SlotOf(attached[device]);
        if (slot >= 0 && (testMode ? m_testPages[slot] == nullptr : m_configPages[slot] == nullptr))
            return attached[device];
    }
    return BG_HW_NONE;
}

CConfigDialog* CPageCache::NewConfigPage(tagBGDevHWType type) {
    switch (type) {
    case BG_HW_PUSHBUTTON_8X8: return new CConfigPanelB88;
    case BG_HW_TOGGLE_8X8: return new CConfigPanelT88;
    case BG_HW_RADIO: return new CConfigPanelRP;
    default: return nullptr;
    }
}

CTestDialog* CPageCache::NewTestPage(tagBGDevHWType type) {
    switch (type) {
    case BG_HW_PUSHBUTTON_8X8: return new CTestPanelB88;
    case BG_HW_TOGGLE_8X8: return new CTestPanelT88;
    case BG_HW_RADIO: return new CTestPanelRP;
    default: return nullptr;
    }
}
