// The user guide against the program: help/en and help/ru, copied beside the test program as
// the build puts them beside Tollan.exe. Every text a guide marks as the program's own
// (class="ui") must be one the program shows in that language: a string, a dialog caption or
// control text, a menu item (each without its '&' mark, %1... standing for any text), or a
// row of the program's lists; every picture and local link must exist inside the help
// folder; both guides must have the same sections in the same order.
#include "config/vocabulary_tables.h"
#include "device/device_library.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);

// Fewer quoted texts than this would let a guide pass by quoting next to nothing.
const size_t kFewestQuotes = 20;

struct GuideLanguage {
    const wchar_t* folder;  // under help
    WORD resources;
};
const GuideLanguage kGuides[] = {{L"en", kEnglish}, {L"ru", kRussian}};

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        (void)::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size,
                                    nullptr, nullptr);
    return bytes;
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xA0; }

// Runs of white space (line breaks of a message or of the HTML source) as one space, none at
// either end.
std::wstring CollapseSpaces(const std::wstring& text) {
    std::wstring result;
    bool space = false;
    for (wchar_t c : text) {
        if (IsSpace(c)) {
            space = !result.empty();
            continue;
        }
        if (space)
            result += L' ';
        space = false;
        result += c;
    }
    return result;
}

// A resource text as the user sees it: without the '&' that marks an access key ("&&" is
// one '&').
std::wstring ShownText(const std::wstring& text) {
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&')
                shown += text[++i];
            continue;
        }
        shown += text[i];
    }
    return CollapseSpaces(shown);
}

// ---- quotes against texts ------------------------------------------------------------------

bool IsPlaceholderAt(const std::wstring& text, size_t i) {
    if (i + 1 >= text.size() || text[i] != L'%')
        return false;
    const wchar_t next = text[i + 1];
    return (next >= L'1' && next <= L'9') || next == L's' || next == L'd';
}

// Whether quote, from q on, is the text from p on with each placeholder standing for at least
// one character. The text may go on after the quote ends, but a quote ends inside what a
// placeholder stands for only when that placeholder ends the text.
bool MatchesFrom(const std::wstring& text, size_t p, const std::wstring& quote, size_t q) {
    while (q < quote.size()) {
        if (p >= text.size())
            return false;
        if (IsPlaceholderAt(text, p)) {
            const bool endsText = p + 2 == text.size();
            for (size_t end = endsText ? quote.size() : quote.size() - 1; end > q; --end) {
                if (MatchesFrom(text, p + 2, quote, end))
                    return true;
            }
            return false;
        }
        if (text[p] != quote[q])
            return false;
        ++p;
        ++q;
    }
    return true;
}

// Whether quote is the text or a part of it, placeholders of the text standing for any text. A
// part starts with a character of the text itself, or with a placeholder that starts the text.
bool QuoteMatches(const std::wstring& quote, const std::wstring& text) {
    if (quote.empty())
        return false;
    for (size_t start = 0; start < text.size(); ++start) {
        if (start > 0 && (IsPlaceholderAt(text, start) || IsPlaceholderAt(text, start - 1)))
            continue;
        if (MatchesFrom(text, start, quote, 0))
            return true;
    }
    return false;
}

// ---- the program's texts ---------------------------------------------------------------------

class ResourceReader {
public:
    ResourceReader(const BYTE* data, DWORD size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at >= m_size; }
    WORD Word() { return static_cast<WORD>(Read(2)); }
    DWORD Dword() { return Read(4); }
    void Skip(size_t count) {
        if (count > m_size - std::min<size_t>(m_at, m_size))
            m_ok = false;
        m_at = std::min<size_t>(m_at + count, m_size);
    }
    void AlignToDword() { Skip((4 - m_at % 4) % 4); }
    std::wstring Text() {
        std::wstring text;
        for (WORD c = Word(); m_ok && c != 0; c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }
    // A sz_Or_Ord field: the text, or empty for none or a number.
    std::wstring TextOrNumber() {
        const WORD first = Word();
        if (first == 0xFFFF) {
            (void)Word();
            return std::wstring();
        }
        std::wstring text;
        for (WORD c = first; m_ok && c != 0; c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }

private:
    DWORD Read(size_t bytes) {
        if (m_at + bytes > m_size) {
            m_ok = false;
            m_at = m_size;
            return 0;
        }
        DWORD value = 0;
        for (size_t i = 0; i < bytes; ++i)
            value |= static_cast<DWORD>(m_data[m_at + i]) << (8 * i);
        m_at += bytes;
        return value;
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_at = 0;
    bool m_ok = true;
};

// The caption and the control texts of a DLGTEMPLATEEX or a DLGTEMPLATE.
bool AddDialogTexts(ResourceReader& in, std::vector<std::wstring>& texts) {
    const WORD version = in.Word();
    const WORD signature = in.Word();
    const bool extended = version == 1 && signature == 0xFFFF;
    DWORD style = 0;
    if (extended) {
        in.Skip(8);  // help id, extended style
        style = in.Dword();
    } else {
        style = MAKELONG(version, signature);
        in.Skip(4);  // extended style
    }
    const WORD items = in.Word();
    in.Skip(8);                // x, y, cx, cy
    (void)in.TextOrNumber();  // menu
    (void)in.TextOrNumber();  // window class
    texts.push_back(in.Text());
    if (style & DS_SETFONT) {
        in.Skip(extended ? 6 : 2);  // point size (weight, italic, character set)
        (void)in.Text();            // typeface
    }
    for (WORD item = 0; item < items && in.Ok(); ++item) {
        in.AlignToDword();
        // (help id,) extended style, style, x, y, cx, cy, id
        in.Skip(extended ? 4 + 4 + 4 + 8 + 4 : 4 + 4 + 8 + 2);
        (void)in.TextOrNumber();  // class
        texts.push_back(in.TextOrNumber());
        in.Skip(in.Word());  // creation data
    }
    return in.Ok();
}

// A menu item's text without the accelerator shown after its tab ("Open\tCtrl+O").
std::wstring WithoutAccelerator(const std::wstring& text) { return text.substr(0, text.find(L'\t')); }

// The item texts of a standard or an extended menu template.
bool AddMenuTexts(ResourceReader& in, std::vector<std::wstring>& texts) {
    const WORD version = in.Word();
    const WORD offset = in.Word();
    in.Skip(offset);
    while (!in.AtEnd() && in.Ok()) {
        if (version == 1) {
            in.AlignToDword();
            if (in.AtEnd())
                break;
            in.Skip(4 + 4 + 4);  // type, state, id
            const WORD flags = in.Word();
            texts.push_back(WithoutAccelerator(in.Text()));
            in.AlignToDword();
            if (flags & 0x01)
                in.Skip(4);  // help id of a popup
        } else {
            const WORD option = in.Word();
            if (!(option & MF_POPUP))
                (void)in.Word();  // id
            texts.push_back(WithoutAccelerator(in.Text()));
        }
    }
    return in.Ok();
}

// The sixteen strings of a string table block.
bool AddStringBlockTexts(ResourceReader& in, std::vector<std::wstring>& texts) {
    for (int i = 0; i < 16 && in.Ok(); ++i) {
        std::wstring text;
        for (WORD length = in.Word(); length > 0 && in.Ok(); --length)
            text += static_cast<wchar_t>(in.Word());
        if (!text.empty())
            texts.push_back(text);
    }
    return in.Ok();
}

struct ResourceName {
    std::wstring text;  // a named resource
    WORD number;        // else its number
    LPCWSTR Get() const { return text.empty() ? MAKEINTRESOURCEW(number) : text.c_str(); }
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    ResourceName entry = {std::wstring(), 0};
    if (IS_INTRESOURCE(name))
        entry.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else
        entry.text = name;
    reinterpret_cast<std::vector<ResourceName>*>(names)->push_back(entry);
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

// Every text of resources of type in exactly this language, as the user sees it; a template
// that cannot be read fails the test.
void AddTexts(LPCWSTR type, WORD language, bool (*add)(ResourceReader&, std::vector<std::wstring>&),
              std::vector<std::wstring>& shown) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    std::vector<ResourceName> names;
    (void)::EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    for (const ResourceName& name : names) {
        std::vector<WORD> languages;
        (void)::EnumResourceLanguagesW(module, type, name.Get(), CollectLanguage,
                                       reinterpret_cast<LONG_PTR>(&languages));
        if (std::find(languages.begin(), languages.end(), language) == languages.end())
            continue;
        HRSRC info = ::FindResourceExW(module, type, name.Get(), language);
        HGLOBAL handle = info != nullptr ? ::LoadResource(module, info) : nullptr;
        const BYTE* data = handle != nullptr ? static_cast<const BYTE*>(::LockResource(handle)) : nullptr;
        ASSERT_NE(nullptr, data) << "resource " << name.number << " of type "
                                 << reinterpret_cast<ULONG_PTR>(type);
        ResourceReader in(data, ::SizeofResource(module, info));
        std::vector<std::wstring> texts;
        EXPECT_TRUE(add(in, texts)) << "resource " << name.number << " of type "
                                    << reinterpret_cast<ULONG_PTR>(type) << " is cut short";
        for (const std::wstring& text : texts) {
            const std::wstring visible = ShownText(text);
            if (!visible.empty())
                shown.push_back(visible);
        }
    }
}

std::vector<std::wstring> ProgramTexts(WORD language) {
    std::vector<std::wstring> texts;
    AddTexts(RT_STRING, language, AddStringBlockTexts, texts);
    AddTexts(RT_DIALOG, language, AddDialogTexts, texts);
    AddTexts(RT_MENU, language, AddMenuTexts, texts);
    return texts;
}

// The rows of the configuration pages' lists: the simulator's own names, the same in every
// language.
std::set<std::wstring> ListRows() {
    std::set<std::wstring> rows;
    for (const EventEntry* row = g_EventTable; row->label != nullptr; ++row)
        rows.insert(CollapseSpaces(row->label));
    for (const ToggleEntry* row = g_ToggleTable; row->label != nullptr; ++row)
        rows.insert(CollapseSpaces(row->label));
    for (const LedEntry* row = g_LedTable; row->label != nullptr; ++row)
        rows.insert(CollapseSpaces(row->label));
    return rows;
}

bool IsProgramText(const std::wstring& quote, const std::vector<std::wstring>& texts,
                   const std::set<std::wstring>& rows) {
    if (rows.count(quote) != 0)
        return true;
    return std::any_of(texts.begin(), texts.end(),
                       [&quote](const std::wstring& text) { return QuoteMatches(quote, text); });
}

// ---- the guide -------------------------------------------------------------------------------

struct Guide {
    std::wstring path;
    std::wstring language;               // <html lang>
    bool declaresUtf8 = false;           // <meta charset="utf-8">
    std::vector<std::wstring> quotes;    // what elements of class "ui" hold
    std::vector<std::wstring> ids;       // every id, in document order
    std::vector<std::wstring> pictures;  // every <img src>
    std::vector<std::wstring> links;     // every <a href>
    std::vector<std::string> faults;     // what could not be read
};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

// The character references of HTML text: the named ones XML has, &nbsp; and numbers.
std::wstring DecodeReferences(const std::wstring& text, std::vector<std::string>& faults) {
    static const struct {
        const wchar_t* name;
        wchar_t c;
    } kNamed[] = {{L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}, {L"nbsp", 0xA0}};
    std::wstring decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t end = text[i] == L'&' ? text.find(L';', i) : std::wstring::npos;
        if (end == std::wstring::npos || end - i > 10) {
            decoded += text[i];
            continue;
        }
        const std::wstring name = text.substr(i + 1, end - i - 1);
        bool known = false;
        if (name.size() > 1 && name[0] == L'#') {
            const bool hex = name[1] == L'x' || name[1] == L'X';
            const unsigned long code = std::wcstoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
            if (code > 0 && code < 0x10000) {
                decoded += static_cast<wchar_t>(code);
                known = true;
            }
        }
        for (const auto& named : kNamed) {
            if (!known && name == named.name) {
                decoded += named.c;
                known = true;
            }
        }
        if (!known) {
            faults.push_back("unknown character reference &" + Narrow(name) + ";");
            decoded += text.substr(i, end - i + 1);
        }
        i = end;
    }
    return decoded;
}

struct Tag {
    std::wstring name;  // lower case
    bool closing = false;
    bool selfClosing = false;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;  // names in lower case

    const std::wstring* Attribute(const wchar_t* wanted) const {
        for (const auto& attribute : attributes) {
            if (attribute.first == wanted)
                return &attribute.second;
        }
        return nullptr;
    }
    bool HasClass(const wchar_t* wanted) const {
        const std::wstring* classes = Attribute(L"class");
        if (classes == nullptr)
            return false;
        const std::wstring spaced = L" " + CollapseSpaces(*classes) + L" ";
        return spaced.find(L" " + std::wstring(wanted) + L" ") != std::wstring::npos;
    }
};

Tag ParseTag(const std::wstring& inside, std::vector<std::string>& faults) {
    Tag tag;
    size_t i = 0;
    if (i < inside.size() && inside[i] == L'/') {
        tag.closing = true;
        ++i;
    }
    const size_t nameEnd = std::min(inside.find_first_of(L" \t\r\n/", i), inside.size());
    tag.name = Lower(inside.substr(i, nameEnd - i));
    i = nameEnd;
    while (i < inside.size()) {
        if (IsSpace(inside[i])) {
            ++i;
            continue;
        }
        if (inside[i] == L'/') {
            tag.selfClosing = true;
            ++i;
            continue;
        }
        const size_t nameStop = std::min(inside.find_first_of(L" \t\r\n=/", i), inside.size());
        std::wstring name = Lower(inside.substr(i, nameStop - i));
        i = nameStop;
        std::wstring value;
        if (i < inside.size() && inside[i] == L'=') {
            ++i;
            if (i < inside.size() && (inside[i] == L'"' || inside[i] == L'\'')) {
                const size_t close = inside.find(inside[i], i + 1);
                if (close == std::wstring::npos) {
                    faults.push_back("unclosed attribute value in <" + Narrow(inside) + ">");
                    break;
                }
                value = inside.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const size_t stop = std::min(inside.find_first_of(L" \t\r\n", i), inside.size());
                value = inside.substr(i, stop - i);
                i = stop;
            }
        }
        tag.attributes.emplace_back(name, DecodeReferences(value, faults));
    }
    return tag;
}

bool IsVoidElement(const std::wstring& name) {
    static const wchar_t* const kVoid[] = {L"area", L"base", L"br",   L"col",   L"embed",  L"hr",    L"img",
                                           L"input", L"link", L"meta", L"param", L"source", L"track", L"wbr"};
    return std::any_of(std::begin(kVoid), std::end(kVoid), [&name](const wchar_t* v) { return name == v; });
}

// The end of the tag that starts at open: its '>' outside quoted attribute values.
size_t TagEnd(const std::wstring& html, size_t open) {
    wchar_t quote = 0;
    for (size_t i = open + 1; i < html.size(); ++i) {
        if (quote != 0) {
            if (html[i] == quote)
                quote = 0;
        } else if (html[i] == L'"' || html[i] == L'\'') {
            quote = html[i];
        } else if (html[i] == L'>') {
            return i;
        }
    }
    return std::wstring::npos;
}

Guide ParseGuide(const std::wstring& html) {
    Guide guide;
    // Elements of class "ui" still open: their tag, how deep the same tag nests in them and
    // the text so far.
    struct Capture {
        std::wstring tag;
        int depth;
        std::wstring text;
    };
    std::vector<Capture> open;
    size_t i = 0;
    while (i < html.size()) {
        if (html[i] != L'<') {
            const size_t next = std::min(html.find(L'<', i), html.size());
            const std::wstring text = DecodeReferences(html.substr(i, next - i), guide.faults);
            for (Capture& capture : open)
                capture.text += text;
            i = next;
            continue;
        }
        if (html.compare(i, 4, L"<!--") == 0) {
            const size_t end = html.find(L"-->", i + 4);
            i = end == std::wstring::npos ? html.size() : end + 3;
            continue;
        }
        const size_t end = TagEnd(html, i);
        if (end == std::wstring::npos) {
            guide.faults.push_back("a tag is not closed");
            break;
        }
        const std::wstring inside = html.substr(i + 1, end - i - 1);
        i = end + 1;
        if (!inside.empty() && (inside[0] == L'!' || inside[0] == L'?'))
            continue;
        const Tag tag = ParseTag(inside, guide.faults);
        if (tag.closing) {
            for (size_t c = open.size(); c-- > 0;) {
                if (open[c].tag == tag.name && --open[c].depth == 0) {
                    guide.quotes.push_back(CollapseSpaces(open[c].text));
                    open.erase(open.begin() + static_cast<std::ptrdiff_t>(c));
                }
            }
            continue;
        }
        if (const std::wstring* id = tag.Attribute(L"id"))
            guide.ids.push_back(*id);
        if (tag.name == L"html" && tag.Attribute(L"lang") != nullptr)
            guide.language = *tag.Attribute(L"lang");
        if (tag.name == L"meta" && tag.Attribute(L"charset") != nullptr)
            guide.declaresUtf8 = Lower(*tag.Attribute(L"charset")) == L"utf-8";
        if (tag.name == L"img")
            guide.pictures.push_back(tag.Attribute(L"src") != nullptr ? *tag.Attribute(L"src") : std::wstring());
        if (tag.name == L"a" && tag.Attribute(L"href") != nullptr)
            guide.links.push_back(*tag.Attribute(L"href"));
        if (tag.name == L"br") {
            for (Capture& capture : open)
                capture.text += L' ';
        }
        if (IsVoidElement(tag.name) || tag.selfClosing)
            continue;
        for (Capture& capture : open) {
            if (capture.tag == tag.name)
                ++capture.depth;
        }
        if (tag.HasClass(L"ui"))
            open.push_back(Capture{tag.name, 1, std::wstring()});
    }
    for (const Capture& capture : open)
        guide.faults.push_back("<" + Narrow(capture.tag) + " class=\"ui\"> is not closed: " + Narrow(capture.text));
    return guide;
}

std::wstring HelpFolder() { return ProgramFolder() + L"\\help"; }

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 2] = L"";
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : std::wstring();
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The file a relative reference of the guide in folder names, if it lies in the help folder.
std::wstring ReferencedFile(const std::wstring& folder, std::wstring reference) {
    std::replace(reference.begin(), reference.end(), L'/', L'\\');
    const std::wstring path = FullPath(folder + L"\\" + reference);
    const std::wstring root = Lower(FullPath(HelpFolder())) + L"\\";
    return Lower(path).compare(0, root.size(), root) == 0 ? path : std::wstring();
}

bool ReadUtf8(const std::wstring& path, std::wstring& text) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes;
    char buffer[8192];
    DWORD read = 0;
    BOOL ok = TRUE;
    while ((ok = ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) != FALSE && read > 0)
        bytes.append(buffer, read);
    (void)::CloseHandle(file);
    if (!ok)
        return false;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    if (bytes.empty())
        return false;
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                           nullptr, 0);
    if (size <= 0)
        return false;
    text.assign(static_cast<size_t>(size), L'\0');
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                 &text[0], size) == size;
}

// The guide of a language, read and parsed; a guide that is missing or not UTF-8 fails.
Guide LoadGuide(const wchar_t* language) {
    Guide guide;
    const std::wstring path = HelpFolder() + L"\\" + language + L"\\index.html";
    std::wstring html;
    if (!ReadUtf8(path, html)) {
        guide.faults.push_back(Narrow(path) + " is missing or not UTF-8 text (the build copies help/ beside the "
                                              "test program)");
        return guide;
    }
    guide = ParseGuide(html);
    guide.path = path;
    return guide;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

bool HasScheme(const std::wstring& reference) {
    const size_t colon = reference.find(L':');
    return colon != std::wstring::npos && reference.find_first_of(L"/\\#") > colon;
}

// ---- the tests --------------------------------------------------------------------------------

TEST(UserGuideQuoteMatching, APartOfATextMatchesWithPlaceholdersStandingForAnyText) {
    EXPECT_TRUE(QuoteMatches(L"Apply", L"Apply"));
    EXPECT_TRUE(QuoteMatches(L"Configuration not saved.", L"Configuration not saved. Save ?"));
    EXPECT_TRUE(QuoteMatches(L"Panel 2", L"Panel %1"));
    EXPECT_TRUE(QuoteMatches(L"Copy the settings of Panel 2 to Panel 1?",
                             L"Copy the settings of %1 to %2? The settings of %2 will be replaced."));
    EXPECT_TRUE(QuoteMatches(L"could not be loaded:", L"The panel library %1 in %2 could not be loaded: %3"));
    EXPECT_TRUE(QuoteMatches(L"is a 32-bit library, and this Tollan is 64-bit",
                             L"The panel library %1 in %2 is a %3-bit library, and this Tollan is %4-bit: it"));

    EXPECT_FALSE(QuoteMatches(L"Apply all", L"Apply"));
    EXPECT_FALSE(QuoteMatches(L"", L"Apply"));
    EXPECT_FALSE(QuoteMatches(L"Export setting...", L"Export settings..."));
    EXPECT_FALSE(QuoteMatches(L"Copy the settings to Panel 1?", L"Copy the settings of %1 to %2?"));
    // A placeholder stands for some text, not for none, and a quote is not made of it alone.
    EXPECT_FALSE(QuoteMatches(L"Panel was", L"Panel %1 was"));
    EXPECT_FALSE(QuoteMatches(L"Panel was here", L"Panel %1 was"));
    EXPECT_FALSE(QuoteMatches(L"Button1", L"%1 is given twice"));
    EXPECT_TRUE(QuoteMatches(L"Button1 is given twice", L"%1 is given twice"));
}

TEST(UserGuideQuoteMatching, ProgramTextsAreThoseOfTheirOwnLanguageAsTheUserSeesThem) {
    const std::vector<std::wstring> english = ProgramTexts(kEnglish);
    const std::vector<std::wstring> russian = ProgramTexts(kRussian);
    const std::set<std::wstring> noRows;
    // A dialog caption, a control, a string and an access key's '&' gone.
    for (const wchar_t* text : {L"BG Brellow Config", L"Configure Toggle Panel 8x8", L"Button state",
                                L"Import settings...", L"About Tollan..."})
        EXPECT_TRUE(IsProgramText(text, english, noRows)) << Narrow(text);
    for (const wchar_t* text : {L"Настройка конфигурации", L"Применить", L"Импорт настроек...", L"Имитация"})
        EXPECT_TRUE(IsProgramText(text, russian, noRows)) << Narrow(text);
    EXPECT_FALSE(IsProgramText(L"Применить", english, noRows));
    EXPECT_FALSE(IsProgramText(L"Button state", russian, noRows));
    EXPECT_FALSE(IsProgramText(L"&About Tollan...", english, noRows));
    // A message whose lines are one text with a space between them.
    EXPECT_TRUE(IsProgramText(L"Configuration not saved. Save ?", english, noRows));
}

TEST(UserGuide, QuotesOnlyTextsTheProgramShowsInTheGuidesLanguage) {
    const std::set<std::wstring> rows = ListRows();
    for (const GuideLanguage& language : kGuides) {
        SCOPED_TRACE(Narrow(language.folder));
        const Guide guide = LoadGuide(language.folder);
        for (const std::string& fault : guide.faults)
            ADD_FAILURE() << fault;
        EXPECT_TRUE(guide.declaresUtf8);
        EXPECT_EQ(std::wstring(language.folder), guide.language);

        const std::vector<std::wstring> texts = ProgramTexts(language.resources);
        ASSERT_FALSE(texts.empty());
        std::set<std::wstring> distinct;
        for (const std::wstring& quote : guide.quotes) {
            distinct.insert(quote);
            EXPECT_TRUE(IsProgramText(quote, texts, rows))
                << "the guide quotes \"" << Narrow(quote) << "\", which the program does not show";
        }
        EXPECT_GE(distinct.size(), kFewestQuotes);
    }
}

TEST(UserGuide, PicturesAndLocalLinksExistInTheHelpFolder) {
    for (const GuideLanguage& language : kGuides) {
        SCOPED_TRACE(Narrow(language.folder));
        const Guide guide = LoadGuide(language.folder);
        ASSERT_FALSE(guide.path.empty()) << guide.faults.front();
        const std::wstring folder = FolderOf(guide.path);
        EXPECT_FALSE(guide.pictures.empty());
        for (const std::wstring& picture : guide.pictures) {
            EXPECT_FALSE(picture.empty() || HasScheme(picture)) << "picture \"" << Narrow(picture) << "\"";
            const std::wstring file = ReferencedFile(folder, picture);
            EXPECT_TRUE(!file.empty() && IsFile(file)) << "missing picture " << Narrow(picture);
        }

        std::set<std::wstring> ids;
        for (const std::wstring& id : guide.ids)
            EXPECT_TRUE(ids.insert(id).second) << "id \"" << Narrow(id) << "\" given twice";
        for (const std::wstring& link : guide.links) {
            if (HasScheme(link))
                continue;
            const size_t hash = link.find(L'#');
            const std::wstring target = link.substr(0, hash);
            const std::wstring fragment = hash == std::wstring::npos ? std::wstring() : link.substr(hash + 1);
            if (target.empty()) {
                EXPECT_EQ(1u, ids.count(fragment)) << "link \"" << Narrow(link) << "\" to no section";
                continue;
            }
            const std::wstring file = ReferencedFile(folder, target);
            std::wstring html;
            if (file.empty() || !IsFile(file) || !ReadUtf8(file, html)) {
                ADD_FAILURE() << "link \"" << Narrow(link) << "\" to no file of the help folder";
                continue;
            }
            if (!fragment.empty()) {
                const std::vector<std::wstring> targetIds = ParseGuide(html).ids;
                EXPECT_NE(targetIds.end(), std::find(targetIds.begin(), targetIds.end(), fragment))
                    << "link \"" << Narrow(link) << "\" to no section";
            }
        }
    }
}

TEST(UserGuide, BothLanguagesHaveTheSameSectionsInTheSameOrder) {
    const Guide english = LoadGuide(L"en");
    const Guide russian = LoadGuide(L"ru");
    ASSERT_FALSE(english.path.empty()) << english.faults.front();
    ASSERT_FALSE(russian.path.empty()) << russian.faults.front();
    EXPECT_GE(english.ids.size(), 5u);
    EXPECT_EQ(english.ids, russian.ids);
}

}  // namespace
