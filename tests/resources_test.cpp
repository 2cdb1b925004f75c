// Checks the resources linked into the program: every dialog template in English and
// Russian (the same controls in both, what the program and the user rely on, and, created as
// Windows creates them, every control whole inside its window with its text whole and none
// over another), the string tables, the pictures and the icon, the manifest and the version
// block.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "resource.h"
#include "window_layout.h"

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
const WORD kLanguages[] = {kEnglish, kRussian};

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  (void)WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                            size, nullptr, nullptr);
  return out;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

std::string LanguageName(WORD lang) { return lang == kRussian ? "Russian" : "English"; }

struct Bytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

// The resource in exactly this language, or empty bytes.
Bytes ResourceBytes(LPCWSTR type, UINT id, WORD lang) {
  Bytes bytes;
  HRSRC info = FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), lang);
  if (info == nullptr) return bytes;
  HGLOBAL handle = LoadResource(nullptr, info);
  if (handle == nullptr) return bytes;
  bytes.data = static_cast<const BYTE*>(LockResource(handle));
  bytes.size = bytes.data != nullptr ? SizeofResource(nullptr, info) : 0;
  return bytes;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
  reinterpret_cast<std::vector<WORD>*>(param)->push_back(lang);
  return TRUE;
}

std::vector<WORD> ResourceLanguages(LPCWSTR type, UINT id) {
  std::vector<WORD> languages;
  (void)EnumResourceLanguagesW(nullptr, type, MAKEINTRESOURCEW(id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

bool EnglishAndRussianOnly(LPCWSTR type, UINT id) {
  const std::vector<WORD> languages = ResourceLanguages(type, id);
  return languages.size() == 2 &&
         ((languages[0] == kEnglish && languages[1] == kRussian) ||
          (languages[0] == kRussian && languages[1] == kEnglish));
}

// ---- dialog template parsing --------------------------------------------------------

class Reader {
 public:
  Reader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }

  WORD Word() {
    WORD value = 0;
    Copy(&value, sizeof value);
    return value;
  }
  DWORD Dword() {
    DWORD value = 0;
    Copy(&value, sizeof value);
    return value;
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    BYTE value = 0;
    Copy(&value, sizeof value);
    return value;
  }
  std::wstring String() {
    std::wstring text;
    for (WORD c = Word(); ok_ && c != 0; c = Word()) text += static_cast<wchar_t>(c);
    return text;
  }
  // A name or an ordinal: 0 = none, 0xFFFF followed by the ordinal, else a string.
  void NameOrOrdinal(std::wstring* name, WORD* ordinal) {
    name->clear();
    *ordinal = 0;
    const WORD first = Word();
    if (first == 0) return;
    if (first == 0xFFFF) {
      *ordinal = Word();
      return;
    }
    *name += static_cast<wchar_t>(first);
    *name += String();
  }
  void Skip(DWORD count) {
    if (!ok_ || size_ - pos_ < count) {
      ok_ = false;
      return;
    }
    pos_ += count;
  }
  void AlignDword() { Skip(((pos_ + 3) & ~3u) - pos_); }

 private:
  void Copy(void* out, DWORD count) {
    if (!ok_ || size_ - pos_ < count) {
      ok_ = false;
      return;
    }
    std::memcpy(out, data_ + pos_, count);
    pos_ += count;
  }

  const BYTE* data_;
  DWORD size_;
  DWORD pos_ = 0;
  bool ok_ = true;
};

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  std::wstring cls;  // lower case, predefined class ordinals spelled out
  std::wstring text;
  WORD textOrdinal = 0;  // resource id shown by an image static
};

struct Dialog {
  bool parsed = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption;
  int pointSize = 0;
  std::wstring font;
  std::vector<DialogItem> items;
};

std::wstring PredefinedClass(WORD ordinal) {
  switch (ordinal) {
    case 0x80: return L"button";
    case 0x81: return L"edit";
    case 0x82: return L"static";
    case 0x83: return L"listbox";
    case 0x84: return L"scrollbar";
    case 0x85: return L"combobox";
    default: return L"#" + std::to_wstring(ordinal);
  }
}

// Parses an extended dialog template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items).
Dialog ParseDialog(const Bytes& bytes) {
  Dialog dialog;
  Reader in(bytes.data, bytes.size);
  const WORD version = in.Word();
  const WORD signature = in.Word();
  if (!in.ok() || version != 1 || signature != 0xFFFF) return dialog;
  (void)in.Dword();  // help id
  dialog.exStyle = in.Dword();
  dialog.style = in.Dword();
  const WORD count = in.Word();
  dialog.x = in.Short();
  dialog.y = in.Short();
  dialog.cx = in.Short();
  dialog.cy = in.Short();
  std::wstring name;
  WORD ordinal = 0;
  in.NameOrOrdinal(&name, &ordinal);  // menu
  in.NameOrOrdinal(&name, &ordinal);  // window class
  dialog.caption = in.String();
  if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
    dialog.pointSize = in.Word();
    (void)in.Word();  // weight
    (void)in.Byte();  // italic
    (void)in.Byte();  // character set
    dialog.font = in.String();
  }
  for (WORD i = 0; i < count && in.ok(); ++i) {
    in.AlignDword();
    DialogItem item;
    (void)in.Dword();  // help id
    item.exStyle = in.Dword();
    item.style = in.Dword();
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    const DWORD id = in.Dword();
    item.id = (id == 0xFFFF || id == 0xFFFFFFFF) ? -1 : static_cast<int>(id);
    WORD classOrdinal = 0;
    in.NameOrOrdinal(&item.cls, &classOrdinal);
    item.cls = classOrdinal != 0 ? PredefinedClass(classOrdinal) : Lower(item.cls);
    in.NameOrOrdinal(&item.text, &item.textOrdinal);
    in.Skip(in.Word());  // creation data
    dialog.items.push_back(item);
  }
  dialog.parsed = in.ok() && dialog.items.size() == count;
  return dialog;
}

Dialog LoadDialog(UINT id, WORD lang) {
  const Bytes bytes = ResourceBytes(RT_DIALOG, id, lang);
  if (bytes.data == nullptr) return Dialog();
  return ParseDialog(bytes);
}

std::string Describe(const DialogItem& item) {
  std::ostringstream out;
  out << "id " << item.id << " " << Narrow(item.cls) << " (" << item.x << ", " << item.y << ", "
      << item.cx << ", " << item.cy << ") style 0x" << std::hex << item.style << " ex 0x"
      << item.exStyle << std::dec << " \"" << Narrow(item.text) << "\"";
  if (item.textOrdinal != 0) out << " #" << item.textOrdinal;
  return out.str();
}

// ---- templates ----------------------------------------------------------------------

struct Template {
  UINT id;
  const char* name;
};

const Template kTemplates[] = {
    {IDD_ABOUTBOX, "about box"},          {IDD_MAIN, "main window"},
    {IDD_ERROR, "error page"},            {IDD_CONFIG_B88, "pushbutton configuration page"},
    {IDD_CONFIG_T88, "toggle configuration page"}, {IDD_CONFIG_RP, "radio configuration page"},
    {IDD_TEST_B88, "pushbutton test page"}, {IDD_TEST_T88, "toggle test page"},
    {IDD_TEST_RP, "radio test page"},
};

bool IsPage(UINT id) { return id != IDD_ABOUTBOX && id != IDD_MAIN; }

const DialogItem* Find(const Dialog& dialog, int id) {
  for (const DialogItem& item : dialog.items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}

// The ids of the controls that Tab reaches, in template order.
std::vector<int> TabOrder(const Dialog& dialog) {
  std::vector<int> order;
  for (const DialogItem& item : dialog.items) {
    if ((item.style & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE)) order.push_back(item.id);
  }
  return order;
}

std::vector<int> Range(int first, int count) {
  std::vector<int> ids;
  for (int i = 0; i < count; ++i) ids.push_back(first + i);
  return ids;
}

bool Overlap(int x1, int y1, int cx1, int cy1, int x2, int y2, int cx2, int cy2) {
  return x1 < x2 + cx2 && x2 < x1 + cx1 && y1 < y2 + cy2 && y2 < y1 + cy1;
}

TEST(ResourcesDialogs, EveryTemplateExistsInEnglishAndRussianOnly) {
  for (const Template& t : kTemplates) {
    EXPECT_TRUE(EnglishAndRussianOnly(RT_DIALOG, t.id)) << t.name;
    for (WORD lang : kLanguages) {
      EXPECT_TRUE(LoadDialog(t.id, lang).parsed) << t.name << " " << LanguageName(lang);
    }
  }
}

// Controls whose text, if they have one, reads the same in both languages and that still
// move or resize in Russian: they make room for the longer texts beside them, and the lists
// of the toggle switch and radio pages are wider.
struct MovedInRussian {
  UINT dialog;
  int first;
  int count;
};

const MovedInRussian kMovedInRussian[] = {
    {IDD_MAIN, IDC_BRIGHTNESS_SLIDER, 2},      {IDD_MAIN, IDC_FAST_ON, 2},
    {IDD_CONFIG_T88, IDC_BUTTON_LIST_FIRST, 8}, {IDD_CONFIG_T88, IDC_LED_LIST_FIRST, 8},
    {IDD_CONFIG_RP, IDC_BUTTON_LIST_FIRST, 8},  {IDD_CONFIG_RP, IDC_LED_LIST_FIRST, 8},
    {IDD_TEST_RP, IDC_INDICATOR_FIRST, 4},
    // The profile row: the list gives way to the wider Russian buttons.
    {IDD_MAIN, IDC_PROFILE_LIST, 1},
};

bool MayMoveInRussian(UINT dialog, const DialogItem& english, const DialogItem& russian) {
  if (english.text != russian.text) return true;  // whether it fits is checked on the screen
  for (const MovedInRussian& moved : kMovedInRussian) {
    if (moved.dialog == dialog && english.id >= moved.first && english.id < moved.first + moved.count)
      return true;
  }
  return false;
}

// Both languages have the same window and the same controls in the same order: ids,
// classes, styles, pictures; a text in one where the other has one; the same place and
// size unless a text differs (or the control is one of those above).
TEST(ResourcesDialogs, EnglishAndRussianHaveTheSameControls) {
  for (const Template& t : kTemplates) {
    SCOPED_TRACE(t.name);
    const Dialog en = LoadDialog(t.id, kEnglish);
    const Dialog ru = LoadDialog(t.id, kRussian);
    ASSERT_TRUE(en.parsed && ru.parsed);
    EXPECT_EQ(en.style, ru.style);
    EXPECT_EQ(en.exStyle, ru.exStyle);
    EXPECT_TRUE(en.x == ru.x && en.y == ru.y && en.cx == ru.cx && en.cy == ru.cy) << "place or size";
    EXPECT_EQ(en.pointSize, ru.pointSize);
    EXPECT_EQ(Narrow(en.font), Narrow(ru.font));
    EXPECT_EQ(en.caption.empty(), ru.caption.empty());
    ASSERT_EQ(en.items.size(), ru.items.size()) << "controls";
    for (size_t i = 0; i < en.items.size(); ++i) {
      const DialogItem& e = en.items[i];
      const DialogItem& r = ru.items[i];
      const std::string both = "\n  English: " + Describe(e) + "\n  Russian: " + Describe(r);
      EXPECT_TRUE(e.id == r.id && e.cls == r.cls) << "control " << i << both;
      // The alignment of the device list's icons, of no effect in list mode, is left only in English.
      const DWORD ignored = e.cls == L"syslistview32" && (e.style & LVS_TYPEMASK) == LVS_LIST ? LVS_ALIGNMASK : 0;
      EXPECT_TRUE((e.style & ~ignored) == (r.style & ~ignored) && e.exStyle == r.exStyle)
          << "styles of control " << i << both;
      EXPECT_EQ(e.textOrdinal, r.textOrdinal) << "picture of control " << i << both;
      EXPECT_EQ(e.text.empty(), r.text.empty()) << "text of control " << i << both;
      const bool samePlace = e.x == r.x && e.y == r.y && e.cx == r.cx && e.cy == r.cy;
      EXPECT_TRUE(samePlace || MayMoveInRussian(t.id, e, r)) << "place of control " << i << both;
    }
  }
}

// Every page is an invisible child that fills the main window's page area: inside the
// window, right of the device list and above the brightness and blink controls.
TEST(ResourcesDialogs, PagesFillThePageAreaOfTheMainWindow) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const Dialog main = LoadDialog(IDD_MAIN, lang);
    ASSERT_TRUE(main.parsed);
    const Dialog first = LoadDialog(IDD_ERROR, lang);
    for (const Template& t : kTemplates) {
      if (!IsPage(t.id)) continue;
      SCOPED_TRACE(t.name);
      const Dialog page = LoadDialog(t.id, lang);
      ASSERT_TRUE(page.parsed);
      EXPECT_EQ(static_cast<DWORD>(WS_CHILD | DS_CONTROL), page.style & (WS_CHILD | DS_CONTROL));
      EXPECT_EQ(0u, page.style & (WS_VISIBLE | WS_POPUP | WS_CAPTION | WS_SYSMENU));
      EXPECT_TRUE(page.x == first.x && page.y == first.y && page.cx == first.cx && page.cy == first.cy)
          << "every page has the same place";
      EXPECT_TRUE(page.x >= 0 && page.y >= 0 && page.x + page.cx <= main.cx && page.y + page.cy <= main.cy)
          << "the page lies inside the main window";
      for (const DialogItem& item : main.items) {
        if (!(item.style & WS_VISIBLE)) continue;
        EXPECT_FALSE(Overlap(page.x, page.y, page.cx, page.cy, item.x, item.y, item.cx, item.cy))
            << "the page lies over " << Describe(item);
      }
    }
  }
}

TEST(ResourcesDialogs, MainWindow) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const Dialog main = LoadDialog(IDD_MAIN, lang);
    ASSERT_TRUE(main.parsed);
    EXPECT_EQ(lang == kRussian ? "Настройка конфигурации" : "BG Brellow Config", Narrow(main.caption));
    EXPECT_EQ(0u, main.style & WS_CHILD);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT),
              main.exStyle & (WS_EX_APPWINDOW | WS_EX_CONTROLPARENT));
    // The device list, the page after it, the brightness and blink controls, OK, Apply, Help,
    // then the profile row.
    EXPECT_EQ(std::vector<int>({IDC_DEVICE_LIST, IDC_BRIGHTNESS_SLIDER, IDC_FAST_ON, IDC_FAST_OFF,
                                IDC_SLOW_ON, IDC_SLOW_OFF, IDOK, IDC_APPLY, ID_HELP, IDC_PROFILE_LIST,
                                IDC_PROFILE_SAVE, IDC_PROFILE_RENAME, IDC_PROFILE_DELETE, IDC_PROFILE_FOLDER}),
              TabOrder(main));
    const DialogItem* list = Find(main, IDC_DEVICE_LIST);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(L"syslistview32", list->cls);
    EXPECT_EQ(static_cast<DWORD>(LVS_LIST), list->style & LVS_TYPEMASK);
    const DWORD oneAtATime = LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    EXPECT_EQ(oneAtATime, list->style & oneAtATime);
    const DialogItem* slider = Find(main, IDC_BRIGHTNESS_SLIDER);
    ASSERT_NE(nullptr, slider);
    EXPECT_EQ(L"msctls_trackbar32", slider->cls);
    const DialogItem* value = Find(main, IDC_BRIGHTNESS_VALUE);
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(L"edit", value->cls);
    EXPECT_TRUE(value->style & ES_READONLY) << "the brightness is shown, not typed";
    for (int id : Range(IDC_FAST_ON, 4)) {
      const DialogItem* edit = Find(main, id);
      ASSERT_NE(nullptr, edit) << id;
      EXPECT_EQ(L"edit", edit->cls) << id;
      EXPECT_EQ(static_cast<DWORD>(ES_NUMBER), edit->style & (ES_NUMBER | ES_READONLY)) << id;
    }
    const DialogItem* ok = Find(main, IDOK);
    const DialogItem* apply = Find(main, IDC_APPLY);
    const DialogItem* blinkApply = Find(main, IDC_BLINK_APPLY);
    ASSERT_TRUE(ok != nullptr && apply != nullptr && blinkApply != nullptr && Find(main, ID_HELP) != nullptr);
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), ok->style & BS_TYPEMASK);
    EXPECT_TRUE(apply->style & WS_DISABLED) << "nothing is unsaved at the start";
    EXPECT_FALSE(blinkApply->style & WS_VISIBLE) << "Enter in a blink field sends the periods";
  }
}

// The page shows one picture: this one.
void ExpectOnePicture(const Dialog& dialog, WORD picture) {
  int pictures = 0;
  for (const DialogItem& item : dialog.items) {
    if (item.cls == L"static" && (item.style & SS_TYPEMASK) == SS_BITMAP) {
      EXPECT_EQ(picture, item.textOrdinal);
      ++pictures;
    }
  }
  EXPECT_EQ(1, pictures);
}

struct ConfigPage {
  UINT id;
  WORD picture;
  DWORD listKind;  // an editable list shows a stored identifier it does not know
};

const ConfigPage kConfigPages[] = {
    {IDD_CONFIG_B88, IDB_PANEL_B88, CBS_DROPDOWNLIST},
    {IDD_CONFIG_T88, IDB_PANEL_T88, CBS_DROPDOWN},
    {IDD_CONFIG_RP, IDB_PANEL_RP, CBS_DROPDOWN},
};

// The picture of the panel, and beside each other in eight rows top to bottom the list of a
// button or switch and the list of an LED, in table order; Tab goes down the first column,
// then down the second.
TEST(ResourcesDialogs, ConfigurationPages) {
  for (const ConfigPage& page : kConfigPages) {
    for (WORD lang : kLanguages) {
      SCOPED_TRACE("template " + std::to_string(page.id) + " " + LanguageName(lang));
      const Dialog dialog = LoadDialog(page.id, lang);
      ASSERT_TRUE(dialog.parsed);
      ExpectOnePicture(dialog, page.picture);
      std::vector<int> lists = Range(IDC_BUTTON_LIST_FIRST, 8);
      const std::vector<int> ledLists = Range(IDC_LED_LIST_FIRST, 8);
      lists.insert(lists.end(), ledLists.begin(), ledLists.end());
      EXPECT_EQ(lists, TabOrder(dialog));
      for (int k = 0; k < 8; ++k) {
        const DialogItem* upper = Find(dialog, IDC_BUTTON_LIST_FIRST + k);
        const DialogItem* led = Find(dialog, IDC_LED_LIST_FIRST + k);
        ASSERT_TRUE(upper != nullptr && led != nullptr) << "row " << k;
        for (const DialogItem* list : {upper, led}) {
          EXPECT_EQ(L"combobox", list->cls);
          EXPECT_EQ(page.listKind, list->style & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST)) << list->id;
          EXPECT_FALSE(list->style & CBS_SORT) << list->id;
          EXPECT_TRUE(list->style & WS_VSCROLL) << list->id;
        }
        EXPECT_EQ(upper->y, led->y) << "row " << k;
        EXPECT_LT(upper->x + upper->cx, led->x) << "row " << k;
        if (k > 0) {
          EXPECT_GT(upper->y, Find(dialog, IDC_BUTTON_LIST_FIRST + k - 1)->y) << "row " << k;
        }
      }
    }
  }
}

struct TestPage {
  UINT id;
  WORD picture;
  int leds;
  int indicators;
};

const TestPage kTestPages[] = {
    {IDD_TEST_B88, IDB_PANEL_B88, 8, 8},
    {IDD_TEST_T88, IDB_PANEL_T88, 8, 8},
    {IDD_TEST_RP, IDB_PANEL_RP, 5, 4},
};

// A column of four radio buttons for each LED, one Tab stop each, Off at the bottom and On
// at the top, each row level with its label; then an owner-drawn indicator for each button.
TEST(ResourcesDialogs, TestPages) {
  for (const TestPage& page : kTestPages) {
    for (WORD lang : kLanguages) {
      SCOPED_TRACE("template " + std::to_string(page.id) + " " + LanguageName(lang));
      const Dialog dialog = LoadDialog(page.id, lang);
      ASSERT_TRUE(dialog.parsed);
      std::vector<int> tabOrder;
      for (int led = 0; led < page.leds; ++led) tabOrder.push_back(IDC_LED_RADIO_FIRST + 4 * led);
      EXPECT_EQ(tabOrder, TabOrder(dialog));
      int radios = 0;
      int lastRadio = -1;
      for (size_t i = 0; i < dialog.items.size(); ++i) {
        if (dialog.items[i].cls == L"button" && (dialog.items[i].style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
          ++radios;
          lastRadio = static_cast<int>(i);
        }
      }
      EXPECT_EQ(4 * page.leds, radios);
      // The control after the last radio starts a group, so the last column's group ends there.
      ASSERT_LT(static_cast<size_t>(lastRadio + 1), dialog.items.size());
      EXPECT_TRUE(dialog.items[static_cast<size_t>(lastRadio + 1)].style & WS_GROUP);

      // The state labels: the texts inside the LEDs' frame (the second group box), top down.
      const DialogItem* frame = nullptr;
      int groupBoxes = 0;
      for (const DialogItem& item : dialog.items) {
        if (item.cls == L"button" && (item.style & BS_TYPEMASK) == BS_GROUPBOX && ++groupBoxes == 2) frame = &item;
      }
      ASSERT_NE(nullptr, frame);
      std::vector<const DialogItem*> labels;
      for (const DialogItem& item : dialog.items) {
        if (item.cls == L"static" && !item.text.empty() && item.x >= frame->x && item.y >= frame->y &&
            item.y + item.cy <= frame->y + frame->cy)
          labels.push_back(&item);
      }
      std::sort(labels.begin(), labels.end(), [](const DialogItem* a, const DialogItem* b) { return a->y < b->y; });
      ASSERT_EQ(4u, labels.size());
      for (int led = 0; led < page.leds; ++led) {
        for (int state = 0; state < 4; ++state) {  // Off, Slow, Fast, On
          const DialogItem* radio = Find(dialog, IDC_LED_RADIO_FIRST + 4 * led + state);
          ASSERT_NE(nullptr, radio) << "LED " << led << " state " << state;
          EXPECT_EQ(static_cast<DWORD>(BS_AUTORADIOBUTTON), radio->style & BS_TYPEMASK);
          EXPECT_EQ(state == 0, (radio->style & WS_GROUP) != 0) << "LED " << led << " state " << state;
          const DialogItem* label = labels[static_cast<size_t>(3 - state)];
          EXPECT_LE(std::abs(label->y - radio->y), 1) << "LED " << led << " state " << state << " beside "
                                                       << Narrow(label->text);
          EXPECT_LE(label->x + label->cx, radio->x) << Narrow(label->text);
        }
      }
      for (int i = 0; i < page.indicators; ++i) {
        const DialogItem* indicator = Find(dialog, IDC_INDICATOR_FIRST + i);
        ASSERT_NE(nullptr, indicator) << "indicator " << i;
        EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), indicator->style & BS_TYPEMASK);
        if (i > 0) {
          EXPECT_GT(indicator->x, Find(dialog, IDC_INDICATOR_FIRST + i - 1)->x);
        }
      }
      EXPECT_EQ(nullptr, Find(dialog, IDC_INDICATOR_FIRST + page.indicators));
      ExpectOnePicture(dialog, page.picture);
    }
  }
}

TEST(ResourcesDialogs, ErrorPageAndAboutBox) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const Dialog error = LoadDialog(IDD_ERROR, lang);
    ASSERT_EQ(1u, error.items.size());
    EXPECT_EQ(IDC_ERROR_TEXT, error.items[0].id);
    EXPECT_EQ(L"static", error.items[0].cls);
    EXPECT_EQ(static_cast<DWORD>(SS_CENTER), error.items[0].style & SS_TYPEMASK);

    const Dialog about = LoadDialog(IDD_ABOUTBOX, lang);
    ASSERT_TRUE(about.parsed);
    EXPECT_EQ("About Tollan", Narrow(about.caption));
    const DWORD modal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(modal, about.style & modal);
    ASSERT_FALSE(about.items.empty());
    EXPECT_EQ(static_cast<DWORD>(SS_ICON), about.items[0].style & SS_TYPEMASK);
    EXPECT_EQ(IDI_TOLLAN, about.items[0].textOrdinal);
    const DialogItem* ok = Find(about, IDOK);
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), ok->style & BS_TYPEMASK);
  }
}

// ---- strings --------------------------------------------------------------------------

// String id of one language from its block of sixteen counted strings; found tells
// whether the block exists.
std::wstring StringResource(UINT id, WORD lang, bool* found) {
  const Bytes block = ResourceBytes(RT_STRING, id / 16 + 1, lang);
  *found = block.data != nullptr;
  Reader in(block.data, block.size);
  std::wstring text;
  for (UINT i = 0; i < 16 && in.ok(); ++i) {
    const WORD length = in.Word();
    std::wstring s;
    for (WORD c = 0; c < length && in.ok(); ++c) s += static_cast<wchar_t>(in.Word());
    if (i == id % 16) text = s;
  }
  EXPECT_TRUE(in.ok()) << "string block of " << id;
  return text;
}

TEST(ResourcesStrings, TextsInBothLanguages) {
  struct Row {
    UINT id;
    const wchar_t* english;
    const wchar_t* russian;
  };
  const Row rows[] = {
      {IDS_ABOUTBOX, L"&About Tollan...", L"&About Tollan..."},
      {IDS_NO_DEVICE, L"Can not detect any device.\nProgramm closed now.",
       L"Не обнаружено доступных устройств. \nПрограмма будет завершена."},
      {IDS_CONFIG_SECTION, L"All aircraft\\%s", L"All aircraft\\%s"},
      {IDS_HARDWARE_SECTION, L"Hardware\\%s", L"Hardware\\%s"},
      {105, L"", L""},
      {IDS_SAVE_PROMPT, L"Configuration not saved.\nSave ?",
       L"Конфигурация не сохранена.\nСохранить ?"},
      {IDS_SAVE_FAILED, L"The configuration could not be saved.",
       L"Не удалось сохранить конфигурацию."},
      {IDS_NO_ROW, L"(none)", L"(нет)"},
  };
  for (const Row& row : rows) {
    for (WORD lang : kLanguages) {
      bool found = false;
      const std::wstring text = StringResource(row.id, lang, &found);
      EXPECT_TRUE(found) << "string " << row.id << " " << LanguageName(lang);
      EXPECT_EQ(Narrow(lang == kRussian ? row.russian : row.english), Narrow(text))
          << "string " << row.id << " " << LanguageName(lang);
    }
  }
  // Exactly one backslash between the common key and the device key.
  bool found = false;
  EXPECT_EQ(13u, StringResource(IDS_CONFIG_SECTION, kEnglish, &found).find(L"%s"));
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<UINT>*>(param)->push_back(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

// The insertions of a message ("%1", "%s" ...), in order of their numbers.
std::vector<std::wstring> Insertions(const std::wstring& text) {
  std::vector<std::wstring> found;
  for (size_t at = text.find(L'%'); at != std::wstring::npos && at + 1 < text.size(); at = text.find(L'%', at + 2))
    found.push_back(text.substr(at, 2));
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

// Every string the program has is there in both languages, with the same insertions.
TEST(ResourcesStrings, EveryStringInBothLanguages) {
  std::vector<UINT> blocks;
  (void)EnumResourceNamesW(nullptr, RT_STRING, CollectName, reinterpret_cast<LONG_PTR>(&blocks));
  int strings = 0;
  for (UINT block : blocks) {
    EXPECT_TRUE(EnglishAndRussianOnly(RT_STRING, block)) << "string block " << block;
    for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
      bool found = false;
      const std::wstring english = StringResource(id, kEnglish, &found);
      const std::wstring russian = StringResource(id, kRussian, &found);
      EXPECT_EQ(english.empty(), russian.empty()) << "string " << id << ": \"" << Narrow(english) << "\" / \""
                                                  << Narrow(russian) << "\"";
      EXPECT_TRUE(Insertions(english) == Insertions(russian)) << "insertions of string " << id << ": \""
                                                             << Narrow(english) << "\" / \"" << Narrow(russian) << "\"";
      strings += english.empty() ? 0 : 1;
    }
  }
  EXPECT_LE(40, strings) << "strings found";
}

TEST(ResourcesStrings, LoadStringFindsTheStringsButNot105) {
  wchar_t buffer[256] = {};
  EXPECT_EQ(0, LoadStringW(GetModuleHandleW(nullptr), 105, buffer, 256));
  EXPECT_LT(0, LoadStringW(GetModuleHandleW(nullptr), IDS_SAVE_FAILED, buffer, 256));
  EXPECT_LT(0, LoadStringW(GetModuleHandleW(nullptr), IDS_CONFIG_SECTION, buffer, 256));
  EXPECT_STREQ(L"All aircraft\\%s", buffer);
}

// ---- pictures -------------------------------------------------------------------------

struct Dib {
  bool parsed = false;
  LONG width = 0;
  LONG height = 0;
  WORD bitCount = 0;
  DWORD compression = 0;
  std::vector<RGBQUAD> palette;
  const BYTE* pixels = nullptr;
  DWORD pixelBytes = 0;

  DWORD Stride() const { return ((static_cast<DWORD>(width) * bitCount + 31) / 32) * 4; }

  COLORREF Pixel(LONG x, LONG y) const {
    const BYTE* row = pixels + Stride() * static_cast<DWORD>(height - 1 - y);
    size_t index = 0;
    switch (bitCount) {
      case 4: index = (x % 2 == 0) ? (row[x / 2] >> 4) : (row[x / 2] & 0x0F); break;
      case 8: index = row[x]; break;
      case 24: return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
      default: return CLR_INVALID;
    }
    if (index >= palette.size()) return CLR_INVALID;
    return RGB(palette[index].rgbRed, palette[index].rgbGreen, palette[index].rgbBlue);
  }
};

Dib LoadDib(UINT id) {
  Dib picture;
  const Bytes bytes = ResourceBytes(RT_BITMAP, id, kNeutral);
  if (bytes.data == nullptr || bytes.size < sizeof(BITMAPINFOHEADER)) return picture;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes.data, sizeof header);
  picture.width = header.biWidth;
  picture.height = header.biHeight;
  picture.bitCount = header.biBitCount;
  picture.compression = header.biCompression;
  DWORD colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  const DWORD paletteAt = header.biSize;
  const DWORD pixelsAt = paletteAt + colours * sizeof(RGBQUAD);
  if (header.biSize < sizeof header || pixelsAt > bytes.size || header.biWidth <= 0 ||
      header.biHeight <= 0)
    return picture;
  picture.palette.resize(colours);
  if (colours != 0) {
    std::memcpy(picture.palette.data(), bytes.data + paletteAt, colours * sizeof(RGBQUAD));
  }
  picture.pixels = bytes.data + pixelsAt;
  picture.pixelBytes = bytes.size - pixelsAt;
  picture.parsed = picture.pixelBytes >= picture.Stride() * static_cast<DWORD>(picture.height);
  return picture;
}

// The display scales the pictures are drawn for, in percent, and the id step of each.
struct Scale {
  int percent;
  UINT idOffset;
};
const Scale kScales[] = {{100, 0}, {125, 1000}, {150, 2000}, {200, 3000}};

// A size at a scale: rounded to the nearest pixel, halves up.
LONG Scaled(LONG size, int percent) { return (size * percent + 50) / 100; }

std::string ScaleName(const Scale& scale) { return std::to_string(scale.percent) + " %"; }

TEST(ResourcesPictures, SizesAndDepthsAtEveryScale) {
  struct Row {
    UINT id;
    LONG width;  // at 100 %, of one picture for the device list strip
    LONG height;
    WORD bits;
    LONG pictures;  // side by side in the bitmap
  };
  const Row rows[] = {
      {IDB_PANEL_RP, 200, 56, 4, 1},    {IDB_PANEL_B88, 200, 56, 4, 1},
      {IDB_PANEL_T88, 200, 56, 4, 1},   {IDB_DEVICE_LIST, 104, 34, 4, 4},
      {IDB_BUTTON_UP, 30, 30, 8, 1},    {IDB_BUTTON_DOWN, 30, 30, 8, 1},
      {IDB_TOGGLE_UP, 30, 30, 24, 1},   {IDB_TOGGLE_END, 30, 30, 24, 1},
  };
  for (const Row& row : rows) {
    const Dib base = LoadDib(row.id);
    for (const Scale& scale : kScales) {
      const UINT id = row.id + scale.idOffset;
      SCOPED_TRACE("bitmap " + std::to_string(id) + " at " + ScaleName(scale));
      const Dib picture = LoadDib(id);
      ASSERT_TRUE(picture.parsed);
      const LONG width = row.pictures * Scaled(row.width, scale.percent);
      const LONG height = Scaled(row.height, scale.percent);
      EXPECT_EQ(width, picture.width);
      EXPECT_EQ(height, picture.height);
      EXPECT_EQ(row.bits, picture.bitCount);
      EXPECT_EQ(static_cast<DWORD>(BI_RGB), picture.compression);
      if (row.bits == 4) {
        // Same colours in the same order: the image list's masking relies on the order.
        ASSERT_EQ(base.palette.size(), picture.palette.size());
        EXPECT_EQ(0, std::memcmp(base.palette.data(), picture.palette.data(),
                                 base.palette.size() * sizeof(RGBQUAD)));
      }
      // The pictures serve both languages: the program loads them with either one active.
      HANDLE loaded = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                 0, 0, LR_CREATEDIBSECTION);
      ASSERT_NE(nullptr, loaded);
      BITMAP info = {};
      EXPECT_EQ(static_cast<int>(sizeof info), GetObjectW(loaded, sizeof info, &info));
      EXPECT_EQ(width, info.bmWidth);
      EXPECT_EQ(height, info.bmHeight);
      (void)DeleteObject(loaded);
    }
  }
}

TEST(ResourcesPictures, DeviceListBackgroundIsTheMaskColour) {
  const COLORREF mask = RGB(4, 0, 0);
  for (const Scale& scale : kScales) {
    SCOPED_TRACE(ScaleName(scale));
    const LONG width = Scaled(104, scale.percent);
    const LONG height = Scaled(34, scale.percent);
    const Dib strip = LoadDib(IDB_DEVICE_LIST + scale.idOffset);
    ASSERT_TRUE(strip.parsed);
    ASSERT_EQ(4 * width, strip.width);
    ASSERT_EQ(height, strip.height);
    // Picture 0 stands for no known hardware type: nothing but background.
    for (LONG y = 0; y < height; ++y) {
      for (LONG x = 0; x < width; ++x) {
        ASSERT_EQ(mask, strip.Pixel(x, y)) << "blank picture at " << x << ", " << y;
      }
    }
    std::vector<std::vector<COLORREF>> panels;
    for (LONG picture = 1; picture < 4; ++picture) {
      const LONG left = width * picture;
      for (LONG x = left; x < left + width; ++x) {
        EXPECT_EQ(mask, strip.Pixel(x, 0)) << "top edge of picture " << picture;
        EXPECT_EQ(mask, strip.Pixel(x, height - 1)) << "bottom edge of picture " << picture;
      }
      for (LONG y = 0; y < height; ++y) {
        EXPECT_EQ(mask, strip.Pixel(left, y)) << "left edge of picture " << picture;
        EXPECT_EQ(mask, strip.Pixel(left + width - 1, y)) << "right edge of picture " << picture;
      }
      std::vector<COLORREF> pixels;
      int drawn = 0;
      for (LONG y = 0; y < height; ++y) {
        for (LONG x = left; x < left + width; ++x) {
          pixels.push_back(strip.Pixel(x, y));
          if (pixels.back() != mask) ++drawn;
        }
      }
      EXPECT_GT(drawn, width * height / 2) << "picture " << picture << " shows a panel";
      panels.push_back(pixels);
    }
    EXPECT_NE(panels[0], panels[1]);
    EXPECT_NE(panels[1], panels[2]);
    EXPECT_NE(panels[0], panels[2]);
  }
}

// Draws one picture of the image list onto a surface of its size filled with the background.
std::vector<COLORREF> DrawListPicture(HIMAGELIST list, int picture, COLORREF background,
                                      LONG width, LONG height) {
  std::vector<COLORREF> drawn;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return drawn;
  void* bits = nullptr;
  HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (surface != nullptr && bits != nullptr) {
    HGDIOBJ old = SelectObject(dc, surface);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, width, height};
    (void)FillRect(dc, &all, brush);
    (void)DeleteObject(brush);
    if (ImageList_Draw(list, picture, dc, 0, 0, ILD_NORMAL)) {
      (void)GdiFlush();
      const DWORD* pixels = static_cast<const DWORD*>(bits);
      for (LONG i = 0; i < width * height; ++i) {
        drawn.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
      }
    }
    (void)SelectObject(dc, old);
  }
  if (surface != nullptr) (void)DeleteObject(surface);
  (void)DeleteDC(dc);
  return drawn;
}

TEST(ResourcesPictures, DeviceListPicturesDrawThroughAnImageList) {
  const COLORREF mask = RGB(4, 0, 0);
  const COLORREF background = RGB(255, 0, 255);
  // Colours that every 16-colour image list keeps as they are.
  const COLORREF standard[] = {RGB(0, 0, 0), RGB(128, 128, 128), RGB(192, 192, 192),
                               RGB(255, 255, 255)};
  for (const Scale& scale : kScales) {
    const LONG width = Scaled(104, scale.percent);
    const LONG height = Scaled(34, scale.percent);
    const UINT id = IDB_DEVICE_LIST + scale.idOffset;
    const Dib strip = LoadDib(id);
    ASSERT_TRUE(strip.parsed);
    for (UINT flags : {0u, static_cast<UINT>(LR_CREATEDIBSECTION)}) {
      SCOPED_TRACE(ScaleName(scale) + (flags == 0 ? " device-dependent bitmap" : " DIB section"));
      HIMAGELIST list = ImageList_LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                             width, 1, mask, IMAGE_BITMAP, flags);
      ASSERT_NE(nullptr, list);
      EXPECT_EQ(4, ImageList_GetImageCount(list));
      int cx = 0, cy = 0;
      EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
      EXPECT_EQ(width, cx);
      EXPECT_EQ(height, cy);
      for (int picture = 0; picture < 4; ++picture) {
        const std::vector<COLORREF> drawn = DrawListPicture(list, picture, background, width,
                                                            height);
        ASSERT_EQ(static_cast<size_t>(width * height), drawn.size());
        int wrong = 0;
        for (LONG y = 0; y < height; ++y) {
          for (LONG x = 0; x < width; ++x) {
            const COLORREF source = strip.Pixel(width * picture + x, y);
            const COLORREF shown = drawn[static_cast<size_t>(y * width + x)];
            bool ok = source == mask ? shown == background : shown != background && shown != mask;
            for (COLORREF c : standard) {
              if (source == c) ok = ok && shown == c;
            }
            if (!ok && ++wrong <= 3) {
              ADD_FAILURE() << "picture " << picture << " at " << x << ", " << y
                            << ": source 0x" << std::hex << source << " shown 0x" << shown;
            }
          }
        }
        EXPECT_EQ(0, wrong) << "picture " << picture;
      }
      EXPECT_TRUE(ImageList_Destroy(list));
    }
  }
}

// The middles (in pixels from the left edge, halves possible) of the parts in the lower part
// of a panel picture: each run of columns that shows something other than the panel's face
// below 70 % of its height, inside its bevel, and is as wide as a button or switch is
// (knobs are wider, screws narrower).
std::vector<double> LowerPartMiddles(const Dib& panel, int percent) {
  const COLORREF face = panel.Pixel(panel.width / 2, panel.height - Scaled(8, percent));
  const LONG margin = Scaled(3, percent);
  const LONG top = (panel.height * 7 + 9) / 10;
  std::vector<double> middles;
  LONG runStart = -1;
  for (LONG x = margin; x <= panel.width - margin; ++x) {
    bool part = false;
    for (LONG y = top; x < panel.width - margin && y < panel.height - margin && !part; ++y) {
      part = panel.Pixel(x, y) != face;
    }
    if (part && runStart < 0) runStart = x;
    if (!part && runStart >= 0) {
      const LONG width = x - runStart;
      if (width >= Scaled(6, percent) && width <= Scaled(18, percent)) {
        middles.push_back((runStart + x) / 2.0);
      }
      runStart = -1;
    }
  }
  return middles;
}

TEST(ResourcesPictures, PanelButtonsAndSwitchesStayInProportionAtEveryScale) {
  struct Panel {
    UINT id;
    size_t parts;
  };
  const Panel panels[] = {{IDB_PANEL_B88, 8}, {IDB_PANEL_T88, 8}, {IDB_PANEL_RP, 4}};
  for (const Panel& panel : panels) {
    const Dib base = LoadDib(panel.id);
    ASSERT_TRUE(base.parsed);
    const std::vector<double> base100 = LowerPartMiddles(base, 100);
    ASSERT_EQ(panel.parts, base100.size()) << "bitmap " << panel.id;
    for (const Scale& scale : kScales) {
      const UINT id = panel.id + scale.idOffset;
      SCOPED_TRACE("bitmap " + std::to_string(id) + " at " + ScaleName(scale));
      const Dib picture = LoadDib(id);
      ASSERT_TRUE(picture.parsed);
      const std::vector<double> middles = LowerPartMiddles(picture, scale.percent);
      ASSERT_EQ(panel.parts, middles.size());
      for (size_t i = 0; i < middles.size(); ++i) {
        const double expected = std::floor(base100[i] * scale.percent / 100.0 + 0.5);
        EXPECT_LE(std::fabs(middles[i] - expected), 1.0)
            << "part " << i << " at " << middles[i] << ", at 100 % " << base100[i];
      }
    }
  }
}

TEST(ResourcesPictures, IndicatorPairsShowTwoStates) {
  for (const Scale& scale : kScales) {
    SCOPED_TRACE(ScaleName(scale));
    const LONG last = Scaled(30, scale.percent) - 1;
    const LONG middle = last / 2;
    const Dib up = LoadDib(IDB_BUTTON_UP + scale.idOffset);
    const Dib down = LoadDib(IDB_BUTTON_DOWN + scale.idOffset);
    ASSERT_TRUE(up.parsed);
    ASSERT_TRUE(down.parsed);
    // Grey raised square and green sunken square.
    const COLORREF grey = up.Pixel(middle, middle);
    EXPECT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey));
    const COLORREF green = down.Pixel(middle, middle);
    EXPECT_GT(GetGValue(green), GetRValue(green));
    EXPECT_GT(GetGValue(green), GetBValue(green));
    // Raised: lit top-left edge; sunken: dark top-left edge.
    EXPECT_GT(GetRValue(up.Pixel(0, 0)), GetRValue(up.Pixel(last, last)));
    EXPECT_LT(GetGValue(down.Pixel(0, 0)), GetGValue(down.Pixel(last, last)));

    const Dib lever = LoadDib(IDB_TOGGLE_UP + scale.idOffset);
    const Dib end = LoadDib(IDB_TOGGLE_END + scale.idOffset);
    ASSERT_TRUE(lever.parsed);
    ASSERT_TRUE(end.parsed);
    int differing = 0;
    for (LONG y = 0; y <= last; ++y) {
      for (LONG x = 0; x <= last; ++x) {
        if (lever.Pixel(x, y) != end.Pixel(x, y)) ++differing;
      }
    }
    EXPECT_GT(differing, last) << "the two switch positions look alike";
  }
}

// The width and height an icon image says it has: a PNG's header or a DIB's (whose height
// counts the mask too).
SIZE IconImageSize(const Bytes& image) {
  SIZE size = {0, 0};
  static const BYTE kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (image.size >= 24 && std::memcmp(image.data, kPng, sizeof kPng) == 0) {
    size.cx = (image.data[16] << 24) | (image.data[17] << 16) | (image.data[18] << 8) |
              image.data[19];
    size.cy = (image.data[20] << 24) | (image.data[21] << 16) | (image.data[22] << 8) |
              image.data[23];
  } else if (image.size >= sizeof(BITMAPINFOHEADER)) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data, sizeof header);
    size.cx = header.biWidth;
    size.cy = header.biHeight / 2;
  }
  return size;
}

TEST(ResourcesPictures, IconHasAnImageForEverySize) {
  const Bytes group = ResourceBytes(RT_GROUP_ICON, IDI_TOLLAN, kNeutral);
  ASSERT_NE(nullptr, group.data);
  Reader in(group.data, group.size);
  (void)in.Word();  // reserved
  EXPECT_EQ(1, in.Word());  // icon
  const WORD count = in.Word();
  std::vector<int> sizes;
  for (WORD i = 0; i < count && in.ok(); ++i) {
    const BYTE width = in.Byte();
    const BYTE height = in.Byte();
    in.Skip(12);
    EXPECT_EQ(width, height);
    sizes.push_back(width == 0 ? 256 : width);
  }
  ASSERT_TRUE(in.ok());
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(std::vector<int>({16, 24, 32, 48, 256}), sizes);
  for (int size : {16, 24, 32, 48, 256}) {
    SCOPED_TRACE("icon of " + std::to_string(size) + " pixels");
    // Windows picks an image of exactly this size, not one to stretch.
    const int image = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, size, size,
                                                  LR_DEFAULTCOLOR);
    ASSERT_NE(0, image);
    const SIZE stored = IconImageSize(ResourceBytes(RT_ICON, static_cast<UINT>(image), kNeutral));
    EXPECT_EQ(size, stored.cx);
    EXPECT_EQ(size, stored.cy);

    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TOLLAN), IMAGE_ICON,
                             size, size, 0);
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
    BITMAP colour = {};
    ASSERT_NE(nullptr, info.hbmColor);
    EXPECT_NE(0, GetObjectW(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(size, colour.bmWidth);
    EXPECT_EQ(size, colour.bmHeight);
    if (info.hbmColor != nullptr) (void)DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) (void)DeleteObject(info.hbmMask);
    (void)DestroyIcon(static_cast<HICON>(icon));
  }
}

// ---- manifest and version -------------------------------------------------------------

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ResourcesManifest, AsksForCommonControls6OnAnyProcessor) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(nullptr, info);
  HGLOBAL handle = LoadResource(nullptr, info);
  ASSERT_NE(nullptr, handle);
  const char* data = static_cast<const char*>(LockResource(handle));
  ASSERT_NE(nullptr, data);
  const std::string text(data, SizeofResource(nullptr, info));
  EXPECT_EQ(2u, Count(text, "processorArchitecture=\"*\""));
  EXPECT_EQ(0u, Count(text, "X86"));
  // The program's own identity: names beginning "Microsoft." are Windows' assemblies.
  EXPECT_EQ(1u, Count(text, "name=\"BrellowGroup.Tollan\""));
  EXPECT_EQ(1u, Count(text, "name=\"Microsoft."));
  EXPECT_EQ(1u, Count(text, "name=\"Microsoft.Windows.Common-Controls\""));
  EXPECT_EQ(1u, Count(text, "version=\"6.0.0.0\""));
  EXPECT_EQ(1u, Count(text, "version=\"1.0.0.0\""));
  EXPECT_EQ(1u, Count(text, "publicKeyToken=\"6595b64144ccf1df\""));
  EXPECT_EQ(1u, Count(text, "language=\"*\""));
  EXPECT_EQ(1u, Count(text, "<dependentAssembly>"));
}

TEST(ResourcesManifest, CommonControls6AreLoaded) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&init));
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  ASSERT_NE(nullptr, comctl);
  // Version 6 comes from the side-by-side store, not from the system directory.
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameW(comctl, path, MAX_PATH));
  EXPECT_NE(std::wstring::npos, Lower(path).find(L"microsoft.windows.common-controls"))
      << Narrow(path);
}

std::string ManifestText() {
  const Bytes bytes = ResourceBytes(MAKEINTRESOURCEW(24), 1, kNeutral);
  return bytes.data != nullptr ? std::string(reinterpret_cast<const char*>(bytes.data), bytes.size)
                               : std::string();
}

// The text of the first element with this name and namespace attribute, or "(missing)".
std::string ElementText(const std::string& xml, const std::string& name, const std::string& ns) {
  const std::string open = "<" + name + " xmlns=\"" + ns + "\">";
  const size_t at = xml.find(open);
  if (at == std::string::npos) return "(missing)";
  const size_t start = at + open.size();
  const size_t end = xml.find("</" + name + ">", start);
  return end == std::string::npos ? "(unclosed)" : xml.substr(start, end - start);
}

TEST(ResourcesManifest, DeclaresPerMonitorV2WithSystemAwareFallback) {
  const std::string text = ManifestText();
  ASSERT_FALSE(text.empty());
  const size_t application = text.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
  const size_t settings = text.find("<windowsSettings>");
  const size_t settingsEnd = text.find("</windowsSettings>");
  ASSERT_NE(std::string::npos, application);
  ASSERT_NE(std::string::npos, settingsEnd);
  EXPECT_LT(application, settings);
  const std::string inside = text.substr(settings, settingsEnd - settings);
  // Windows 10 from 1703 on: per monitor v2; 1607, which does not know v2: system aware.
  EXPECT_EQ("PerMonitorV2, System",
            ElementText(inside, "dpiAwareness",
                        "http://schemas.microsoft.com/SMI/2016/WindowsSettings"));
  // Older Windows: system aware.
  EXPECT_EQ("true", ElementText(inside, "dpiAware",
                                "http://schemas.microsoft.com/SMI/2005/WindowsSettings"));
  EXPECT_EQ(1u, Count(text, "<dpiAware "));
  EXPECT_EQ(1u, Count(text, "<dpiAwareness "));
}

// The program (whose manifest the tests share) runs aware of each monitor's scale.
TEST(ResourcesManifest, ProcessIsPerMonitorAware) {
  using GetContext = HANDLE(WINAPI*)();
  using ContextsEqual = BOOL(WINAPI*)(HANDLE, HANDLE);
  using Awareness = int(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  ASSERT_NE(nullptr, user32);
  const auto getContext = reinterpret_cast<GetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  const auto equal = reinterpret_cast<ContextsEqual>(
      reinterpret_cast<void*>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
  const auto awareness = reinterpret_cast<Awareness>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (getContext == nullptr || equal == nullptr || awareness == nullptr) {
    GTEST_SKIP() << "this system has no DPI awareness contexts";
  }
  const int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
  EXPECT_EQ(kPerMonitorAware, awareness(getContext()));
  // Wine 8 takes PerMonitorV2 for the first per-monitor mode; Windows 10 from 1703 on must not.
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  const HANDLE perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
  EXPECT_TRUE(equal(getContext(), perMonitorV2) || (wine && equal(getContext(), perMonitor)));
}

bool ContainsWide(const Bytes& bytes, const std::wstring& text) {
  const size_t length = text.size() * sizeof(wchar_t);
  for (DWORD at = 0; at + length <= bytes.size; at += 2) {
    if (std::memcmp(bytes.data + at, text.data(), length) == 0) return true;
  }
  return false;
}

TEST(ResourcesVersion, FileAndProductVersion1001InEnglishAndRussian) {
  const Bytes bytes = ResourceBytes(RT_VERSION, 1, kNeutral);
  ASSERT_NE(nullptr, bytes.data);
  const VS_FIXEDFILEINFO* fixed = nullptr;
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= bytes.size; at += 4) {
    DWORD signature = 0;
    std::memcpy(&signature, bytes.data + at, sizeof signature);
    if (signature == VS_FFI_SIGNATURE) {
      fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes.data + at);
      break;
    }
  }
  ASSERT_NE(nullptr, fixed);
  EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
  EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS);
  EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
  EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
  EXPECT_TRUE(ContainsWide(bytes, L"040904b0"));
  EXPECT_TRUE(ContainsWide(bytes, L"041904b0"));
  EXPECT_TRUE(ContainsWide(bytes, L"1.0.0.1"));
}

// ---- creating the templates -------------------------------------------------------------

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring WindowClass(HWND window) {
  wchar_t name[64] = {};
  (void)GetClassNameW(window, name, 64);
  return Lower(name);
}

class ResourcesCreate : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                   ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    host_ = CreateWindowExW(0, L"Static", L"Tollan resources", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, host_);
  }
  void TearDown() override {
    if (host_ != nullptr) (void)DestroyWindow(host_);
  }

  // Creates the template of this language and checks each control the window got and how
  // they are laid out.
  void CreateAndCheck(UINT id, WORD lang) {
    SCOPED_TRACE("template " + std::to_string(id) + " " + LanguageName(lang));
    const Bytes bytes = ResourceBytes(RT_DIALOG, id, lang);
    ASSERT_NE(nullptr, bytes.data);
    const Dialog dialog = ParseDialog(bytes);
    ASSERT_TRUE(dialog.parsed);
    HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data), host_,
                                             QuietDialogProc, 0);
    ASSERT_NE(nullptr, window);

    int children = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      ++children;
    }
    EXPECT_EQ(static_cast<int>(dialog.items.size()), children);

    for (const DialogItem& item : dialog.items) {
      if (item.id != -1) {
        HWND control = GetDlgItem(window, item.id);
        ASSERT_NE(nullptr, control) << "control " << item.id;
        EXPECT_EQ(Narrow(item.cls), Narrow(WindowClass(control))) << "control " << item.id;
      }
    }
    // Every picture and the icon were found and loaded.
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (WindowClass(child) != L"static") continue;
      const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
      if (type == SS_BITMAP) {
        EXPECT_NE(0, SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) << "picture";
      } else if (type == SS_ICON) {
        EXPECT_NE(0, SendMessageW(child, STM_GETICON, 0, 0)) << "icon";
      }
    }

    if (dialog.style & WS_CHILD) {
      // A page is created hidden at its place in the parent's client area.
      EXPECT_EQ(host_, GetParent(window));
      EXPECT_FALSE(IsWindowVisible(window));
      RECT place = {dialog.x, dialog.y, dialog.cx, dialog.cy};  // position, then size
      ASSERT_TRUE(MapDialogRect(window, &place));
      RECT actual = {};
      ASSERT_TRUE(GetWindowRect(window, &actual));
      (void)MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(place.left, actual.left);
      EXPECT_EQ(place.top, actual.top);
      EXPECT_EQ(place.right, actual.right - actual.left);
      EXPECT_EQ(place.bottom, actual.bottom - actual.top);
    }

    // The texts reach the windows unchanged, Russian included.
    for (const DialogItem& item : dialog.items) {
      if (item.cls != L"button" || item.id == -1) continue;
      wchar_t text[128] = {};
      (void)GetWindowTextW(GetDlgItem(window, item.id), text, 128);
      EXPECT_EQ(Narrow(item.text), Narrow(text)) << "control " << item.id;
    }
    wchar_t caption[128] = {};
    (void)GetWindowTextW(window, caption, 128);
    EXPECT_EQ(Narrow(dialog.caption), Narrow(caption));

    // What the user sees: every control inside the window, its text whole, none over
    // another (a control the template hides is never shown).
    std::vector<HWND> shown;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) shown.push_back(child);
    }
    window_layout::ExpectLaidOutWhole(window, shown);

    EXPECT_TRUE(DestroyWindow(window));
  }

  HWND host_ = nullptr;
};

TEST_F(ResourcesCreate, PagesAsChildrenOfTheMainWindow) {
  const UINT pages[] = {IDD_TEST_B88, IDD_CONFIG_B88, IDD_CONFIG_T88, IDD_TEST_T88,
                        IDD_ERROR,    IDD_TEST_RP,    IDD_CONFIG_RP};
  for (UINT id : pages) {
    for (WORD lang : kLanguages) CreateAndCheck(id, lang);
  }
}

TEST_F(ResourcesCreate, MainWindowAndAboutBox) {
  for (WORD lang : kLanguages) {
    CreateAndCheck(IDD_MAIN, lang);
    CreateAndCheck(IDD_ABOUTBOX, lang);
    CreateAndCheck(IDD_PROFILE_NAME, lang);
  }
}

}  // namespace
