// The resources linked into ZUL.exe (and into this test): texts, dialog templates,
// bitmaps, icon and the version record.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/Platform.h"
#include "app/Version.h"
#include "resources/Texts.h"
#include "tests/win32/WindowDriver.h"

namespace {

std::string ResourceString(UINT id)
{
    char text[1024] = {};
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog made from its template, destroyed at the end of the test.
class TemplateDialog {
public:
    explicit TemplateDialog(int id)
        : m_hwnd(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                    QuietDialogProc, 0))
    {
    }
    ~TemplateDialog()
    {
        if (m_hwnd != nullptr)
            DestroyWindow(m_hwnd);
    }
    HWND Get() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

struct ControlRow {
    int id;
    const char* className;
    int x, y, width, height;  // dialog units; height 0 = not checked (drop-down lists,
                              // whose template height is that of the open list)
    LONG required;            // style bits that must be set
    LONG forbidden;           // style bits that must be clear
    const char* text;         // nullptr = not checked
};

void CheckControls(HWND dlg, const std::vector<ControlRow>& rows)
{
    for (const ControlRow& row : rows) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        HWND control = GetDlgItem(dlg, row.id);
        ASSERT_NE(control, nullptr);
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, row.className);
        // The dialog manager converts position and size each on its own.
        RECT expected{row.x, row.y, row.width, row.height};
        MapDialogRect(dlg, &expected);
        RECT actual;
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        if (row.height != 0) {
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        // The dialog manager may draw a border as a sunken client edge instead.
        const LONG required = row.required & ~WS_BORDER;
        if (row.required & WS_BORDER) {
            const LONG exStyle = GetWindowLongA(control, GWL_EXSTYLE);
            EXPECT_TRUE((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0) << "bordered";
        }
        EXPECT_EQ(style & required, required) << std::hex << style;
        EXPECT_EQ(style & row.forbidden, 0) << std::hex << style;
        if (row.text != nullptr) {
            EXPECT_EQ(WindowText(control), row.text);
        }
    }
}

}  // namespace

TEST(Resources, StringTableHoldsEveryTextExactly)
{
    for (UINT id = 141; id <= 192; ++id) {
        if (id == 160)
            continue;  // unused id
        EXPECT_EQ(ResourceString(id), LoadText(static_cast<int>(id))) << "string " << id;
        EXPECT_FALSE(ResourceString(id).empty()) << "string " << id;
    }
    // Spot checks of the characters a resource compiler could get wrong.
    EXPECT_EQ(ResourceString(178), "CheckSum is correct. (%04X)\n\nWriting Complete.");
    EXPECT_EQ(ResourceString(182), "Are you sure you want to finish this program? ");
    EXPECT_EQ(ResourceString(171), "It found a mistake by the internal format of the file. ");
    EXPECT_EQ(ResourceString(191),
              "In case of connecting with QOX-70 and MIC/SP Jack, \nthe Baud Rate should be set "
              "\"38400bps\" or \"115200bps\".");
    EXPECT_EQ(ResourceString(143), " CONFIGURE ");
    EXPECT_EQ(ResourceString(166), "[Product Code   ]");
}

TEST(Resources, MainWindowTemplate)
{
    TemplateDialog dlg(102);
    ASSERT_NE(dlg.Get(), nullptr);
    EXPECT_EQ(WindowText(dlg.Get()), "ZUL");
    const LONG style = GetWindowLongA(dlg.Get(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_POPUP),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_POPUP);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(GetWindowLongA(dlg.Get(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    RECT client{0, 0, 475, 230};
    MapDialogRect(dlg.Get(), &client);
    RECT actual;
    GetClientRect(dlg.Get(), &actual);
    EXPECT_EQ(actual.right, client.right);
    EXPECT_EQ(actual.bottom, client.bottom);

    const LONG tab = WS_TABSTOP;
    CheckControls(dlg.Get(), {
        {1015, "SysListView32", 4, 11, 236, 99, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER, LVS_NOSORTHEADER, nullptr},
        {1004, "Button", 247, 11, 49, 20, WS_VISIBLE, 0, "&Reload"},
        {1005, "Button", 247, 38, 49, 20, WS_VISIBLE, 0, "Br&owse"},
        {1016, "Button", 301, 9, 165, 72, BS_GROUPBOX, 0, " CONFIGURE "},
        {1017, "Static", 307, 24, 65, 12, SS_SUNKEN | SS_CENTERIMAGE, 0, "&COM Port"},
        {1007, "ComboBox", 379, 24, 81, 0, CBS_DROPDOWNLIST | tab, CBS_SORT, nullptr},
        {1018, "Static", 307, 43, 65, 12, SS_SUNKEN | SS_CENTERIMAGE, 0, "&Baud Rate"},
        {1008, "ComboBox", 379, 43, 81, 0, CBS_DROPDOWNLIST, CBS_SORT, nullptr},
        {1019, "Static", 307, 62, 65, 12, SS_SUNKEN | SS_CENTERIMAGE, 0, "Connected Type"},
        {1014, "Static", 379, 62, 81, 12, SS_SUNKEN, 0, "QOX-50 Series"},
        {1009, "Button", 254, 130, 49, 31, WS_VISIBLE, 0, "&WRITE"},
        {1010, "msctls_progress32", 310, 130, 150, 31, PBS_SMOOTH, 0, nullptr},
        {1011, "Button", 247, 193, 49, 20, 0, 0, "&File Conv"},
        {1012, "Button", 332, 193, 49, 20, 0, 0, "&Dump"},
        {1013, "Button", 417, 193, 49, 20, BS_DEFPUSHBUTTON | WS_VISIBLE, 0, "C&lose"},
        {IDOK, "Button", 399, 194, 6, 9, WS_DISABLED, WS_VISIBLE, "OK"},
        {IDCANCEL, "Button", 388, 194, 6, 9, WS_DISABLED, WS_VISIBLE, "CANCEL"},
        {1020, "Static", 4, 121, 236, 92, WS_BORDER, SS_CENTER | SS_RIGHT, ""},
    });
}

TEST(Resources, SmallDialogTemplates)
{
    {
        TemplateDialog dlg(140);
        ASSERT_NE(dlg.Get(), nullptr);
        EXPECT_EQ(WindowText(dlg.Get()), "Password");
        EXPECT_NE(GetWindowLongA(dlg.Get(), GWL_STYLE) & WS_SYSMENU, 0);
        CheckControls(dlg.Get(), {
            {1006, "Edit", 18, 15, 136, 12, ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, ""},
            {IDOK, "Button", 22, 36, 50, 14, BS_DEFPUSHBUTTON, 0, "OK"},
            {IDCANCEL, "Button", 99, 36, 50, 14, 0, 0, "Cancel"},
        });
    }
    {
        TemplateDialog dlg(184);
        ASSERT_NE(dlg.Get(), nullptr);
        EXPECT_EQ(WindowText(dlg.Get()), "Select Connect Type");
        EXPECT_NE(GetWindowLongA(dlg.Get(), GWL_STYLE) & WS_SYSMENU, 0);
        CheckControls(dlg.Get(), {
            {1022, "ComboBox", 23, 31, 120, 0, CBS_DROPDOWNLIST | WS_TABSTOP, CBS_SORT, nullptr},
            {1018, "Static", 23, 49, 130, 17, 0, WS_VISIBLE, "Don't turn power OFF \nwhile updating the firmware."},
            {IDOK, "Button", 35, 74, 50, 14, BS_DEFPUSHBUTTON, 0, "OK"},
            {IDCANCEL, "Button", 101, 74, 50, 14, 0, 0, "Cancel"},
        });
    }
    {
        TemplateDialog dlg(185);
        ASSERT_NE(dlg.Get(), nullptr);
        EXPECT_EQ(WindowText(dlg.Get()), "Writing");
        EXPECT_EQ(GetWindowLongA(dlg.Get(), GWL_STYLE) & WS_SYSMENU, 0) << "no close box";
        CheckControls(dlg.Get(), {
            {1025, "Static", 11, 10, 161, 34, 0, 0, "Swith Radio ON, then start downloading"},
            {IDCANCEL, "Button", 68, 74, 50, 14, 0, 0, "Cancel"},
        });
    }
}

TEST(Resources, IconAndBitmaps)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_NE(LoadIconA(self, MAKEINTRESOURCEA(130)), nullptr);
    const struct {
        int id, width, height;
    } bitmaps[] = {{132, 323, 34}, {138, 15, 10}, {139, 15, 10}};
    for (const auto& b : bitmaps) {
        HBITMAP bitmap = LoadBitmapA(self, MAKEINTRESOURCEA(b.id));
        ASSERT_NE(bitmap, nullptr) << b.id;
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, b.width) << b.id;
        EXPECT_EQ(info.bmHeight, b.height) << b.id;
        DeleteObject(bitmap);
    }
}

TEST(Resources, VersionRecordOfTheProgram)
{
    const std::string exe = ExecutableFolder() + "\\ZUL.exe";
    std::uint32_t ms = 0, ls = 0;
    ASSERT_TRUE(ReadFileVersion(exe, ms, ls));
    EXPECT_EQ(ms, 0x00010000u);
    EXPECT_EQ(ls, 0x00000000u);
    EXPECT_EQ(TitleFromProgramFile(exe), "ZUL Ver.1.00");
    EXPECT_EQ(TitleFromProgramFile(ExecutableFolder() + "\\NoSuchFile.exe"), "ZUL ");
}
