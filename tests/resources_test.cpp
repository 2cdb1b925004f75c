// Checks the resources linked into the program: every dialog template in English and
// Russian (position, size, font, style and each control's id, class, rectangle, key
// style bits and text), the string tables, the pictures and the icon, the manifest and
// the version block; and creates every template to see that Windows accepts it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "resource.h"

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
const WORD kLanguages[] = {kEnglish, kRussian};

// A coordinate that the layout leaves free.
const int kAny = INT_MIN;

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

// ---- expected controls --------------------------------------------------------------

struct Control {
  int id = -1;
  std::wstring cls;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::wstring text;
  WORD picture = 0;  // an image static shows this resource instead of a text
  DWORD mask = WS_CHILD | WS_VISIBLE;
  DWORD bits = WS_CHILD | WS_VISIBLE;
  DWORD exMask = 0;
  DWORD exBits = 0;

  Control& Set(DWORD styles) {
    mask |= styles;
    bits |= styles;
    return *this;
  }
  Control& Clear(DWORD styles) {
    mask |= styles;
    bits &= ~styles;
    return *this;
  }
  Control& Field(DWORD fieldMask, DWORD value) {
    mask |= fieldMask;
    bits = (bits & ~fieldMask) | value;
    return *this;
  }
};

Control Make(int id, const wchar_t* cls, int x, int y, int cx, int cy, const std::wstring& text) {
  Control c;
  c.id = id;
  c.cls = cls;
  c.x = x;
  c.y = y;
  c.cx = cx;
  c.cy = cy;
  c.text = text;
  return c;
}

Control GroupBox(const std::wstring& text, int x, int y, int cx, int cy) {
  return Make(-1, L"button", x, y, cx, cy, text).Field(BS_TYPEMASK, BS_GROUPBOX);
}

Control Label(const std::wstring& text, int x, int y, int cx, int cy) {
  return Make(-1, L"static", x, y, cx, cy, text);
}

// A static that shows a bitmap or an icon resource.
Control ImageStatic(DWORD type, WORD resource, int x, int y, int cx, int cy) {
  Control c = Make(-1, L"static", x, y, cx, cy, L"").Field(SS_TYPEMASK, type);
  c.picture = resource;
  return c;
}

Control Button(int id, const std::wstring& text, int x, int y, int cx, int cy, DWORD type) {
  return Make(id, L"button", x, y, cx, cy, text).Field(BS_TYPEMASK, type);
}

Control Combo(int id, int x, int y, int cx, int cy, DWORD kind) {
  return Make(id, L"combobox", x, y, cx, cy, L"")
      .Field(CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST, kind)
      .Set(WS_VSCROLL | WS_TABSTOP)
      .Clear(CBS_SORT);
}

std::string Describe(const DialogItem& item) {
  std::ostringstream out;
  out << "id " << item.id << " " << Narrow(item.cls) << " (" << item.x << ", " << item.y << ", "
      << item.cx << ", " << item.cy << ") style 0x" << std::hex << item.style << " ex 0x"
      << item.exStyle << std::dec << " \"" << Narrow(item.text) << "\"";
  if (item.textOrdinal != 0) out << " #" << item.textOrdinal;
  return out.str();
}

std::string Describe(const Control& c) {
  std::ostringstream out;
  auto coord = [&out](int v) -> std::ostringstream& {
    if (v == kAny) out << "any"; else out << v;
    return out;
  };
  out << "id " << c.id << " " << Narrow(c.cls) << " (";
  coord(c.x) << ", ";
  coord(c.y) << ", ";
  coord(c.cx) << ", ";
  coord(c.cy) << ") style 0x" << std::hex << c.bits << "/0x" << c.mask << std::dec << " \""
                              << Narrow(c.text) << "\"";
  if (c.picture != 0) out << " #" << c.picture;
  return out.str();
}

// Empty when the template's item is the expected control, else what differs.
std::string Mismatch(const DialogItem& item, const Control& c) {
  auto coord = [](int actual, int expected) { return expected == kAny || actual == expected; };
  if (item.id != c.id) return "id";
  if (item.cls != c.cls) return "class";
  if (!coord(item.x, c.x) || !coord(item.y, c.y) || !coord(item.cx, c.cx) ||
      !coord(item.cy, c.cy))
    return "rectangle";
  if ((item.style & c.mask) != c.bits) return "style";
  if ((item.exStyle & c.exMask) != c.exBits) return "extended style";
  if (c.picture != 0) {
    if (item.textOrdinal != c.picture) return "picture";
  } else if (item.textOrdinal != 0 || item.text != c.text) {
    return "text";
  }
  return std::string();
}

// The template holds exactly these controls in this order.
void ExpectControlsInOrder(const Dialog& dialog, const std::vector<Control>& expected) {
  ASSERT_EQ(expected.size(), dialog.items.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string diff = Mismatch(dialog.items[i], expected[i]);
    EXPECT_EQ("", diff) << "control " << i << "\n  template: " << Describe(dialog.items[i])
                        << "\n  expected: " << Describe(expected[i]);
  }
}

// The template holds exactly these controls, in any order; returns the index of the
// template item that matched each expected control (-1 when none did).
std::vector<int> ExpectControls(const Dialog& dialog, const std::vector<Control>& expected) {
  std::vector<int> found(expected.size(), -1);
  std::vector<bool> used(dialog.items.size(), false);
  EXPECT_EQ(expected.size(), dialog.items.size());
  for (size_t e = 0; e < expected.size(); ++e) {
    for (size_t i = 0; i < dialog.items.size(); ++i) {
      if (!used[i] && Mismatch(dialog.items[i], expected[e]).empty()) {
        used[i] = true;
        found[e] = static_cast<int>(i);
        break;
      }
    }
    EXPECT_NE(-1, found[e]) << "missing: " << Describe(expected[e]);
  }
  for (size_t i = 0; i < dialog.items.size(); ++i) {
    EXPECT_TRUE(used[i]) << "unexpected: " << Describe(dialog.items[i]);
  }
  return found;
}

void ExpectFrame(const Dialog& dialog, int x, int y, int cx, int cy, const wchar_t* font) {
  ASSERT_TRUE(dialog.parsed);
  EXPECT_EQ(x, dialog.x);
  EXPECT_EQ(y, dialog.y);
  EXPECT_EQ(cx, dialog.cx);
  EXPECT_EQ(cy, dialog.cy);
  EXPECT_EQ(8, dialog.pointSize);
  EXPECT_EQ(Narrow(font), Narrow(dialog.font));
}

// A page: an invisible child in the main window's page area.
void ExpectPageFrame(const Dialog& dialog) {
  ExpectFrame(dialog, 98, 7, 335, 225, L"MS Shell Dlg");
  const DWORD wanted = WS_CHILD | DS_CONTROL | DS_SETFONT | DS_FIXEDSYS;
  EXPECT_EQ(wanted, dialog.style & wanted);
  EXPECT_EQ(0u, dialog.style & (WS_VISIBLE | WS_POPUP | WS_CAPTION));
}

// ---- the layouts ----------------------------------------------------------------------

std::vector<Control> AboutControls() {
  return {
      ImageStatic(SS_ICON, IDI_TOLLAN, 11, 17, 20, 20),
      Label(L"Tollan Version 1.0", 40, 10, 119, 8).Set(SS_NOPREFIX),
      Label(L"Copyright (C) 2026 Brellow Group", 40, 25, 119, 8),
      Button(IDOK, L"OK", 178, 7, 50, 16, BS_DEFPUSHBUTTON),
  };
}

std::vector<Control> MainControls(bool ru) {
  Control list = Make(IDC_DEVICE_LIST, L"syslistview32", 7, 7, 90, 225, L"")
                     .Field(LVS_TYPEMASK, LVS_LIST)
                     .Field(LVS_ALIGNMASK, ru ? 0 : LVS_ALIGNLEFT)
                     .Set(LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | WS_TABSTOP);
  list.exMask = list.exBits = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_LEFTSCROLLBAR;
  auto blinkEdit = [](int id, int x, int y) {
    return Make(id, L"edit", x, y, 22, 12, L"")
        .Field(ES_CENTER | ES_RIGHT, ES_CENTER)
        .Set(ES_NUMBER | WS_BORDER | WS_TABSTOP)
        .Clear(ES_READONLY);
  };
  // Tab order: the device list (the page follows it), the brightness and blink controls,
  // then OK, Apply and Help.
  return {
      list,
      Make(IDC_BRIGHTNESS_SLIDER, L"msctls_trackbar32", ru ? 110 : 109, 241, ru ? 209 : 223, 23, L"")
          .Set(TBS_AUTOTICKS | TBS_BOTH | WS_TABSTOP),
      Make(IDC_BRIGHTNESS_VALUE, L"edit", ru ? 198 : 204, 268, 34, 12, L"")
          .Field(ES_CENTER | ES_RIGHT, ES_CENTER)
          .Set(ES_READONLY | ES_NUMBER)
          .Clear(WS_BORDER),
      GroupBox(ru ? L"Яркость" : L"Brightness", ru ? 108 : 109, 232, ru ? 214 : 226, 55),
      GroupBox(ru ? L"Период мерцания (0,01 с)" : L"Blink period (0,01 sec)", ru ? 325 : 337, 232,
               ru ? 102 : 90, 55),
      Label(ru ? L"Вкл" : L"On", ru ? 378 : 372, 243, ru ? 18 : 13, 8),
      Label(ru ? L"Выкл" : L"Off", ru ? 400 : 394, 243, ru ? 20 : 18, 8),
      Label(ru ? L"Быстро" : L"Fast", ru ? 330 : 347, 258, ru ? 30 : 20, 8),
      Label(ru ? L"Медленно" : L"Slow", ru ? 330 : 347, 270, ru ? 40 : 20, 8),
      blinkEdit(IDC_FAST_ON, 372, ru ? 255 : 254),
      blinkEdit(IDC_FAST_OFF, 398, ru ? 255 : 254),
      blinkEdit(IDC_SLOW_ON, 372, 268),
      blinkEdit(IDC_SLOW_OFF, 398, 268),
      Button(IDOK, L"OK", 7, 235, 90, 16, BS_DEFPUSHBUTTON).Set(WS_TABSTOP),
      Button(IDC_APPLY, ru ? L"Применить" : L"Apply", 7, 253, 90, 16, BS_PUSHBUTTON)
          .Set(WS_DISABLED),
      Button(ID_HELP, ru ? L"Подсказка" : L"Help", 7, 271, 90, 16, BS_PUSHBUTTON).Clear(WS_DISABLED),
      Button(IDC_BLINK_APPLY, ru ? L"Изменить" : L"Apply", ru ? 332 : 343, ru ? 241 : 242,
             ru ? 37 : 23, 14, BS_PUSHBUTTON)
          .Clear(WS_VISIBLE),
      // The profile row, below all of the above (the template grew at its bottom): the label
      // gives its access key to the list after it.
      Make(IDC_PROFILE_LABEL, L"static", 7, 297, ru ? 37 : 28, 8, ru ? L"&Профиль:" : L"&Profile:"),
      Combo(IDC_PROFILE_LIST, ru ? 46 : 37, 295, ru ? 73 : 123, 150, CBS_DROPDOWNLIST),
      Button(IDC_PROFILE_SAVE, ru ? L"&Сохранить как профиль..." : L"&Save as profile...", ru ? 123 : 166, 294,
             ru ? 96 : 72, 14, BS_PUSHBUTTON).Set(WS_TABSTOP),
      Button(IDC_PROFILE_RENAME, ru ? L"Переи&меновать" : L"Rena&me", ru ? 223 : 242, 294, ru ? 60 : 50, 14,
             BS_PUSHBUTTON).Set(WS_TABSTOP),
      Button(IDC_PROFILE_DELETE, ru ? L"&Удалить" : L"&Delete", ru ? 287 : 296, 294, ru ? 40 : 50, 14,
             BS_PUSHBUTTON).Set(WS_TABSTOP),
      Button(IDC_PROFILE_FOLDER, ru ? L"Открыть &папку профилей" : L"Open profiles &folder", ru ? 331 : 350, 294,
             ru ? 96 : 77, 14, BS_PUSHBUTTON).Set(WS_TABSTOP),
  };
}

struct ConfigPage {
  UINT id;
  const wchar_t* captionEn;
  const wchar_t* captionRu;
  WORD bitmap;
  DWORD listKind;
  int upperWidthEn, upperWidthRu;
  int ledXEn, ledXRu;
  int ledWidthEn, ledWidthRu;
  bool columnLabels;
};

const ConfigPage kConfigPages[] = {
    {IDD_CONFIG_B88, L"Configure Panel 8x8", L"Настройка панели кнопок", IDB_PANEL_B88,
     CBS_DROPDOWNLIST, 133, 133, 175, 175, 134, 134, true},
    {IDD_CONFIG_T88, L"Configure Toggle Panel 8x8", L"Настройка панели тумблеров", IDB_PANEL_T88,
     CBS_DROPDOWN, 119, 133, 190, 176, 119, 133, false},
    {IDD_CONFIG_RP, L"Configure Radio Panel", L"Настройка радиопанели", IDB_PANEL_RP,
     CBS_DROPDOWN, 119, 133, 190, 176, 119, 133, false},
};

std::wstring Digit(int d) { return std::wstring(1, static_cast<wchar_t>(L'0' + d)); }

struct TestPage {
  UINT id;
  const wchar_t* captionEn;
  const wchar_t* captionRu;
  WORD bitmap;
  int leds;
  int indicators;
};

const TestPage kTestPages[] = {
    {IDD_TEST_B88, L"Test Pushbutton Panel", L"Тестирование панели кнопок", IDB_PANEL_B88, 8, 8},
    {IDD_TEST_T88, L"Test Toggle Switch Panel", L"Тестирование панели тумблеров", IDB_PANEL_T88,
     8, 8},
    {IDD_TEST_RP, L"Test Radio Panel", L"Тестирование радиопанели", IDB_PANEL_RP, 5, 4},
};

std::vector<Control> TestPageControls(const TestPage& page, bool ru) {
  const bool radio = page.id == IDD_TEST_RP;
  // Row y of the radios by state code: Off, Slow, Fast, On.
  const int radioY[4] = {81, 68, radio ? 54 : 55, radio ? 41 : 42};
  const int gridX = radio ? 126 : 100;
  std::vector<Control> c;
  for (int led = 0; led < page.leds; ++led) {
    for (int state = 0; state < 4; ++state) {
      Control r = Button(IDC_LED_RADIO_FIRST + 4 * led + state, L"", gridX + 18 * led,
                         radioY[state], 12, 8, BS_AUTORADIOBUTTON);
      if (state == 0) r.Set(WS_GROUP | WS_TABSTOP); else r.Clear(WS_GROUP | WS_TABSTOP);
      c.push_back(r);
    }
  }
  // The frame after the radios starts a new group, so the last column's group ends there.
  c.push_back(GroupBox(ru ? page.captionRu : page.captionEn, 7, 7, 321, 211).Set(WS_GROUP));
  c.push_back(GroupBox(ru ? L"Светодиоды" : L"LEDs", 14, 17, 305, 90));
  for (int led = 0; led < page.leds; ++led) {
    c.push_back(GroupBox(Digit(led), (radio ? 122 : 96) + 18 * led, radio ? 30 : 31, 18, 67));
  }
  const int labelX = radio ? (ru ? 77 : 81) : 51;
  const int onY = radio && ru ? 41 : 42;
  const int fastY = radio && ru ? 54 : 55;
  c.push_back(Label(ru ? L"Включен" : L"On", labelX, onY, ru ? 40 : 36, 8));
  // The Russian label is as wide as the others: at 24 units its last letter is cut off.
  c.push_back(Label(ru ? L"Быстро" : L"Fast", labelX, fastY, ru ? 40 : 24, 8));
  c.push_back(Label(ru ? L"Медленно" : L"Slow", labelX, 68, ru ? 40 : 36, 8));
  c.push_back(Label(ru ? L"Выключен" : L"Off", labelX, 81, ru ? 40 : 36, 8));
  c.push_back(ImageStatic(SS_BITMAP, page.bitmap, 101, 118, 133, 34));
  c.push_back(GroupBox(ru ? L"Кнопки" : L"Button state", 15, 162, 305, 50));
  for (int i = 0; i < page.indicators; ++i) {
    const int x = radio ? (ru ? 126 : 125) + 20 * i : 87 + 20 * i;
    const int y = radio ? (ru ? 183 : 182) : 183;
    c.push_back(Button(IDC_INDICATOR_FIRST + i, Digit(i), x, y, 20, 20, BS_OWNERDRAW));
  }
  const int labelXs[8] = {95, 113, 135, 155, 175, 195, 215, 235};
  for (int i = 0; i < page.indicators; ++i) {
    c.push_back(radio ? Label(Digit(i), 134 + 20 * i, 171, 8, 8)
                      : Label(Digit(i), labelXs[i], 170, 8, 8));
  }
  return c;
}

// ---- templates ----------------------------------------------------------------------

TEST(ResourcesDialogs, EveryTemplateExistsInEnglishAndRussianOnly) {
  const UINT ids[] = {IDD_ABOUTBOX, IDD_MAIN,     IDD_TEST_B88, IDD_CONFIG_B88, IDD_CONFIG_T88,
                      IDD_TEST_T88, IDD_ERROR, IDD_TEST_RP,  IDD_CONFIG_RP, IDD_PROFILE_NAME};
  for (UINT id : ids) {
    EXPECT_TRUE(EnglishAndRussianOnly(RT_DIALOG, id)) << "template " << id;
    for (WORD lang : kLanguages) {
      EXPECT_TRUE(LoadDialog(id, lang).parsed) << "template " << id << " " << LanguageName(lang);
    }
  }
}

TEST(ResourcesDialogs, AboutBoxIsTheSameInBothLanguages) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const Dialog dialog = LoadDialog(IDD_ABOUTBOX, lang);
    ExpectFrame(dialog, dialog.x, dialog.y, 235, 55, L"MS Shell Dlg");
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(wanted, dialog.style & wanted);
    EXPECT_EQ(0u, dialog.style & WS_CHILD);
    EXPECT_EQ("About Tollan", Narrow(dialog.caption));
    ExpectControlsInOrder(dialog, AboutControls());
  }
}

TEST(ResourcesDialogs, ProfileNameBox) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const bool ru = lang == kRussian;
    const Dialog dialog = LoadDialog(IDD_PROFILE_NAME, lang);
    ExpectFrame(dialog, dialog.x, dialog.y, 230, 62, L"MS Shell Dlg");
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME),
              dialog.style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_CHILD));
    EXPECT_EQ(ru ? "Сохранить как профиль" : "Save as profile", Narrow(dialog.caption));
    ExpectControlsInOrder(
        dialog, {Make(IDC_PROFILE_NAME_LABEL, L"static", 7, 9, 216, 8, ru ? L"&Имя профиля:" : L"Profile &name:"),
                 Make(IDC_PROFILE_NAME, L"edit", 7, 20, 216, 14, L"").Set(ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
                 Button(IDOK, L"OK", 119, 41, 50, 14, BS_DEFPUSHBUTTON),
                 Button(IDCANCEL, ru ? L"Отмена" : L"Cancel", 173, 41, 50, 14, BS_PUSHBUTTON)});
  }
}

TEST(ResourcesDialogs, MainWindowLayout) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const bool ru = lang == kRussian;
    const Dialog dialog = LoadDialog(IDD_MAIN, lang);
    ExpectFrame(dialog, dialog.x, dialog.y, 434, 315, L"MS Shell Dlg");
    const DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                         DS_3DLOOK | DS_FIXEDSYS | DS_SETFONT;
    EXPECT_EQ(wanted, dialog.style & wanted);
    EXPECT_EQ(0u, dialog.style & WS_CHILD);
    const DWORD wantedEx = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    EXPECT_EQ(wantedEx, dialog.exStyle & wantedEx);
    EXPECT_EQ(ru ? "Настройка конфигурации" : "BG Brellow Config", Narrow(dialog.caption));
    ExpectControlsInOrder(dialog, MainControls(ru));
  }
}

TEST(ResourcesDialogs, ErrorPageIsAnInvisibleChildInThePageArea) {
  for (WORD lang : kLanguages) {
    SCOPED_TRACE(LanguageName(lang));
    const Dialog dialog = LoadDialog(IDD_ERROR, lang);
    ExpectFrame(dialog, 98, 7, 335, 225, L"MS Sans Serif");
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | DS_CONTROL), dialog.style & (WS_CHILD | DS_CONTROL));
    EXPECT_EQ(0u, dialog.style & (WS_VISIBLE | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    ExpectControlsInOrder(
        dialog,
        {Make(IDC_ERROR_TEXT, L"static", 88, 74, 158, 77, L"")
             .Field(SS_TYPEMASK, SS_CENTER)
             .Set(WS_GROUP)});
  }
}

TEST(ResourcesDialogs, ConfigurationPagesLayout) {
  for (const ConfigPage& page : kConfigPages) {
    for (WORD lang : kLanguages) {
      SCOPED_TRACE("template " + std::to_string(page.id) + " " + LanguageName(lang));
      const bool ru = lang == kRussian;
      const Dialog dialog = LoadDialog(page.id, lang);
      ExpectPageFrame(dialog);

      std::vector<Control> expected;
      expected.push_back(GroupBox(ru ? page.captionRu : page.captionEn, 7, 7, 321, 211));
      expected.push_back(ImageStatic(SS_BITMAP, page.bitmap, 99, 22, kAny, kAny).Set(SS_REALSIZEIMAGE));
      const size_t rowLabels = expected.size();
      for (int k = 0; k < 8; ++k) expected.push_back(Label(Digit(k + 1), kAny, 57, kAny, kAny));
      const size_t columnLabels = expected.size();
      for (int k = 0; k < 8; ++k) expected.push_back(Label(Digit(k + 1), 163, kAny, kAny, kAny));
      if (page.columnLabels) {
        expected.push_back(Label(ru ? L"Кнопки" : L"Buttons", 65, 63, kAny, kAny));
        expected.push_back(Label(ru ? L"Индикация" : L"LEDs", ru ? 242 : 237, 63, kAny, kAny));
      }
      for (int k = 0; k < 8; ++k) {
        expected.push_back(Combo(IDC_BUTTON_LIST_FIRST + k, 24, 76 + 16 * k,
                                 ru ? page.upperWidthRu : page.upperWidthEn, 30, page.listKind));
      }
      for (int k = 0; k < 8; ++k) {
        expected.push_back(Combo(IDC_LED_LIST_FIRST + k, ru ? page.ledXRu : page.ledXEn,
                                 76 + 16 * k, ru ? page.ledWidthRu : page.ledWidthEn, 30,
                                 page.listKind));
      }
      const std::vector<int> found = ExpectControls(dialog, expected);

      // The numbers 1 to 8 stand left to right under the picture (133 units wide) and
      // each number of the column beside the two lists of its row.
      int previousRight = 99;
      for (int k = 0; k < 8; ++k) {
        const int i = found[rowLabels + k];
        if (i < 0) continue;
        const DialogItem& label = dialog.items[i];
        EXPECT_GE(label.x, previousRight) << "label " << k + 1 << " under the picture";
        EXPECT_LE(label.x + label.cx, 99 + 133) << "label " << k + 1 << " under the picture";
        previousRight = label.x + label.cx;
      }
      for (int k = 0; k < 8; ++k) {
        const int i = found[columnLabels + k];
        if (i < 0) continue;
        const DialogItem& label = dialog.items[i];
        EXPECT_GE(label.y, 76 + 16 * k) << "row label " << k + 1;
        EXPECT_LE(label.y + label.cy, 76 + 16 * k + 14) << "row label " << k + 1;
      }

      // Tab order: the upper column top to bottom, then the LED column.
      std::vector<int> tabOrder;
      for (const DialogItem& item : dialog.items) {
        if (item.style & WS_TABSTOP) tabOrder.push_back(item.id);
      }
      std::vector<int> wantedOrder;
      for (int k = 0; k < 8; ++k) wantedOrder.push_back(IDC_BUTTON_LIST_FIRST + k);
      for (int k = 0; k < 8; ++k) wantedOrder.push_back(IDC_LED_LIST_FIRST + k);
      EXPECT_EQ(wantedOrder, tabOrder);
    }
  }
}

TEST(ResourcesDialogs, TestPagesLayout) {
  for (const TestPage& page : kTestPages) {
    for (WORD lang : kLanguages) {
      SCOPED_TRACE("template " + std::to_string(page.id) + " " + LanguageName(lang));
      const Dialog dialog = LoadDialog(page.id, lang);
      ExpectPageFrame(dialog);
      ExpectControlsInOrder(dialog, TestPageControls(page, lang == kRussian));
    }
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

TEST(ResourcesStrings, StringTableExistsInEnglishAndRussianOnly) {
  EXPECT_TRUE(EnglishAndRussianOnly(RT_STRING, IDS_ABOUTBOX / 16 + 1));
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

  // Creates the template of this language and checks each control the window got.
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
