// widget-gallery.exe: the display widgets and the window layer's controls in their states. With
// "--exit-after N" it closes itself after N seconds (for the screenshot in the test run).
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/menu_timer_win.h"
#include "ui/page_control_win.h"
#include "ui/pickers_win.h"
#include "widgets/color_button_win.h"
#include "widgets/lcd_display_win.h"
#include "widgets/link_label_win.h"
#include "widgets/path_box_win.h"
#include "widgets/picture_win.h"

extern const unsigned char red_blue_jpg[];
extern const unsigned long long red_blue_jpg_size;
extern const unsigned char alpha_disc_png[];
extern const unsigned long long alpha_disc_png_size;

namespace sentavo::gallery {
namespace {

using ui::Bounds;
using ui::MakeColor;
using widgets::TColorButton;
using widgets::TLcdDisplay;

constexpr ui::TColor kBack = MakeColor(24, 24, 32);

class Gallery : public ui::Form {
 public:
  bool Build() {
    ui::FormSpec desc;
    desc.caption = "Sentavo widget gallery";
    desc.bounds = {0, 0, 1180, 820};
    desc.centered = false;
    desc.color = kBack;
    if (!CreateForm(desc)) return false;
    OnClose = [] { PostQuitMessage(0); };
    BuildDisplays();
    BuildButtons();
    BuildBoxesAndPictures();
    BuildControls();
    return true;
  }

 private:
  ui::Label& Heading(int x, int y, const std::string& text) {
    auto& l = ui::MakeOwned<ui::Label>(*this);
    l.Create(hwnd(), 0, {x, y, 320, 18}, text);
    l.SetFont(ui::VerdanaBold(13, MakeColor(255, 200, 60)));
    l.SetColor(kBack);
    return l;
  }

  ui::Label& Caption(HWND parent, int x, int y, int w, const std::string& text,
                     ui::TColor back = kBack) {
    auto& l = ui::MakeOwned<ui::Label>(*this);
    l.Create(parent, 0, {x, y, w, 16}, text);
    ui::FontSpec f;
    f.name = "Verdana";
    f.height = 11;
    f.color = MakeColor(220, 220, 220);
    l.SetFont(f);
    l.SetColor(back);
    return l;
  }

  TLcdDisplay& Display(int x, int y, int w, int h, const std::string& value) {
    auto& panel = ui::MakeOwned<ui::Panel>(*this);
    panel.Create(hwnd(), 0, {x, y, w + 6, h + 6}, ui::TPanelBevel::bvLowered);
    panel.SetColor(ui::clBlack);
    auto& lcd = ui::MakeOwned<TLcdDisplay>(*this);
    lcd.Create(panel.hwnd(), 0, {3, 3, w, h});
    lcd.SetDigitNum(8);
    lcd.SetValue(value);
    return lcd;
  }

  void BuildDisplays() {
    Heading(16, 10, "Seven-segment LCD display");
    Caption(hwnd(), 16, 32, 140, "hodinky: 12:34:56");
    Display(16, 50, 124, 22, "12:34:56");
    Caption(hwnd(), 170, 32, 140, "odpocetLED: locked");
    TLcdDisplay& countdown = Display(170, 50, 124, 22, "locked");
    countdown.SetOffColor(MakeColor(35, 35, 35));
    countdown.SetOnColor(ui::clWhite);
    Caption(hwnd(), 324, 32, 140, "-1.5, blue on navy");
    TLcdDisplay& minus = Display(324, 50, 124, 22, "-1.5");
    minus.SetOnColor(MakeColor(80, 160, 255));
    minus.SetOffColor(MakeColor(20, 30, 70));
    minus.SetColor(MakeColor(5, 10, 40));
    Caption(hwnd(), 478, 32, 300, "dot mode, 12:34.5");
    TLcdDisplay& dots = Display(478, 50, 300, 60, "12:34.5");
    dots.SetDotDisplay(true);
    dots.SetSegmentSize(3);
    dots.SetDotSpacing(1);
    dots.SetOnColor(MakeColor(255, 80, 40));
    dots.SetOffColor(MakeColor(50, 16, 8));
    Caption(hwnd(), 800, 32, 360, "large bars, every letter");
    TLcdDisplay& large = Display(800, 50, 360, 60, "ABCDEFGH");
    large.SetSegmentSize(5);
    large.SetDigitSpacing(8);

    static constexpr std::array<const char*, 6> kNames = {"anSpiral", "anUp",    "anDown",
                                                          "anLeft",   "anRight", "anRandom"};
    for (int i = 0; i < 6; ++i) {
      const int x = 16 + i * 192;
      Caption(hwnd(), x, 122, 180, kNames[static_cast<std::size_t>(i)]);
      TLcdDisplay& lcd = Display(x, 140, 170, 34, "00:00:00");
      lcd.SetAnimation(static_cast<widgets::TLCDAnimation>(i + 1));
      lcd.SetAnimationDelay(400);
      lcd.SetSegmentSize(3);
      animated_.push_back(&lcd);
    }
    // Twice a second one of the six reveals the time anew, in turn, so that no two reveals run
    // at once (a reveal pauses with the message queue running, and the next would nest in it).
    auto& timer = ui::MakeOwned<ui::Timer>(*this);
    timer.SetInterval(500);
    timer.OnTimer = [this] {
      ++ticks_;
      char text[16];
      const int seconds = 56 + ticks_ / 2;
      snprintf(text, sizeof text, "%02d:%02d:%02d", 12, 34 + seconds / 60 % 60, seconds % 60);
      animated_[static_cast<std::size_t>(ticks_) % animated_.size()]->SetValue(text);
    };
  }

  TColorButton& Button(int x, int y, int w, int h, const std::string& caption, ui::TColor color) {
    auto& b = ui::MakeOwned<TColorButton>(*this);
    b.Create(hwnd(), 0, {x, y, w, h}, caption);
    b.SetColor(color);
    b.SetFont(ui::VerdanaBold(12));
    return b;
  }

  void BuildButtons() {
    Heading(16, 196, "Colour buttons");
    int x = 16;
    const int y = 220;
    // The lock window's style: single silver frame, bevel 2, white bold captions.
    for (auto [caption, color] : {std::pair{"Odhlásit se", MakeColor(255, 0, 0)},
                                  {"Zkontrolovat", MakeColor(0, 64, 0)},
                                  {"Skrýt Sentavo", MakeColor(0, 0, 64)}}) {
      TColorButton& b = Button(x, y, 140, 50, caption, color);
      b.SetBorderStyle(widgets::TBorderStyle::bsSingle);
      b.SetBorderColor(ui::clSilver);
      b.SetBevelWidth(2);
      x += 150;
    }
    TColorButton& down = Button(x, y, 140, 50, "Down", MakeColor(128, 64, 0));
    down.SetGrouped(true);
    down.SetDown(true);
    x += 150;
    TColorButton& off = Button(x, y, 140, 50, "Disabled", MakeColor(64, 0, 128));
    off.SetEnabled(false);
    x += 150;
    // The administration program's style: normal frame, black border, bevel 1.
    TColorButton& admin = Button(x, y, 140, 50, "&Uložit kód", MakeColor(64, 128, 128));
    admin.SetBorderStyle(widgets::TBorderStyle::bsNormal);
    x += 150;
    TColorButton& flat = Button(x, y, 140, 50, "Flat", MakeColor(90, 90, 90));
    flat.SetBorderStyle(widgets::TBorderStyle::bsFlat);

    x = 16;
    const int y2 = 282;
    for (auto [caption, style] : {std::pair{"Horizontal", widgets::TGradientStyle::gsHorizontal},
                                  {"Vertical", widgets::TGradientStyle::gsVertical},
                                  {"Pyramid", widgets::TGradientStyle::gsPyramid}}) {
      TColorButton& b = Button(x, y2, 140, 50, caption, MakeColor(0, 90, 200));
      b.SetGradientStyle(style);
      x += 150;
    }
    TColorButton& upLeft = Button(x, y2, 140, 50, "Up-left", MakeColor(200, 40, 40));
    upLeft.SetGradientStyle(widgets::TGradientStyle::gsVertical);
    upLeft.SetGradientDirection(widgets::TGradDirection::gdUpLeft);
    x += 150;
    const ui::PixelImage fold = widgets::LoadBitmapResource(L"FOLD");
    const ui::PixelImage file = widgets::LoadBitmapResource(L"FILE");
    for (auto [caption, layout, glyph] :
         {std::tuple{"Glyph left", widgets::TButtonLayout::blGlyphLeft, fold},
          {"Glyph right", widgets::TButtonLayout::blGlyphRight, file},
          {"Glyph top", widgets::TButtonLayout::blGlyphTop, fold}}) {
      TColorButton& b = Button(x, y2, 140, 50, caption, MakeColor(230, 230, 210));
      b.SetFont(ui::VerdanaBold(11, ui::clBlack));
      b.SetGlyph(glyph);
      b.SetNumGlyphs(1);
      b.SetLayout(layout);
      b.SetSpacing(4);
      x += 150;
    }
  }

  void BuildBoxesAndPictures() {
    Heading(16, 350, "Path and file-name boxes");
    Caption(hwnd(), 16, 374, 300, "Cesta pro komunikaci se serverem:");
    auto& servercesta = ui::MakeOwned<widgets::TBUDirectoryBox>(*this, "servercesta");
    servercesta.Create(hwnd(), 0, {16, 392, 300, 21});
    servercesta.SetDirectory("C:\\");
    Caption(hwnd(), 16, 420, 300, "Pozadí:");
    auto& pozadiFile = ui::MakeOwned<widgets::TBUFileNameBox>(*this, "PozadiFile");
    pozadiFile.Create(hwnd(), 0, {16, 438, 300, 21});
    pozadiFile.SetFileName("C:\\Sentavo\\pozadi.jpg");
    pozadiFile.SetDialogOptions(
        {widgets::TOpenOption::ofHideReadOnly, widgets::TOpenOption::ofEnableSizing});
    Caption(hwnd(), 16, 466, 300, "button on the left, read-only:");
    auto& left = ui::MakeOwned<widgets::TBUDirectoryBox>(*this);
    left.Create(hwnd(), 0, {16, 484, 300, 21});
    left.SetButtonPosition(widgets::TPosition::onLeft);
    left.SetDirectory("\\\\server\\share\\kody\\");
    left.SetReadOnly(true);

    Heading(350, 350, "Pictures and link");
    Caption(hwnd(), 350, 374, 360, "a PNG with transparency over a stretched JPEG:");
    auto& logo = ui::MakeOwned<widgets::PictureBox>(*this, "LogoBig");
    logo.Create(hwnd(), 0, {420, 398, 140, 140});
    auto& pozadi = ui::MakeOwned<widgets::PictureBox>(*this, "pozadi");
    pozadi.Create(hwnd(), 0, {350, 392, 300, 150});
    pozadi.SendToBack();
    pozadi.LoadFromMemory({red_blue_jpg, static_cast<std::size_t>(red_blue_jpg_size)},
                          widgets::PictureKind::Jpeg);
    logo.LoadFromMemory({alpha_disc_png, static_cast<std::size_t>(alpha_disc_png_size)},
                        widgets::PictureKind::Png);
    logo.SetTransparent(true);
    logo.SetFit(widgets::PictureFit::Proportional);
    auto& zamceno = ui::MakeOwned<ui::Label>(*this);
    zamceno.Create(hwnd(), 0, {358, 400, 280, 17}, "Tento počítač je uzamčen.");
    zamceno.SetFont(ui::VerdanaBold(13, ui::clWhite));
    zamceno.SetTransparent(true);
    zamceno.BringToFront();

    auto& link = ui::MakeOwned<widgets::TLinkLabel>(*this, "OrderLink");
    link.Create(hwnd(), 0, {350, 552, 320, 34}, "Objednat Sentavo můžete zde...",
                "https://www.example.com/");
    link.SetOpener([](const std::string&) { return true; });  // the gallery opens nothing
  }

  void BuildControls() {
    Heading(700, 350, "Window layer controls");
    auto& pages = ui::MakeOwned<ui::PageControl>(*this);
    pages.Create(hwnd(), 0, {700, 374, 460, 300}, true);
    ui::TabSheet& first = pages.AddPage("Přihlášení");
    ui::TabSheet& second = pages.AddPage("Nastavení");
    pages.AddPage("Skrytá").SetTabVisible(false);
    first.SetColor(ui::clBlack);
    second.SetColor(MakeColor(40, 40, 40));
    const HWND p = first.hwnd();
    Caption(p, 10, 10, 200, "Zadejte odemykací kód:", ui::clBlack);
    auto& kod = ui::MakeOwned<ui::Edit>(*this);
    kod.Create(p, 0, {10, 30, 200, 24});
    kod.SetFont(ui::VerdanaBold(14, ui::clWhite));
    kod.SetColor(ui::clBlack);
    kod.SetPasswordChar(L'*');
    kod.SetText("tajne");
    auto& group = ui::MakeOwned<ui::GroupBox>(*this);
    group.Create(p, 0, {10, 64, 210, 90}, " Práva: ");
    group.SetFont(ui::VerdanaBold(11, ui::clWhite));
    group.SetColor(ui::clBlack);
    int cy = 20;
    for (const char* c : {"Zakázat klávesy ALT+TAB", "Zakázat plochu", "Zakázat lištu TRAY"}) {
      auto& check = ui::MakeOwned<ui::CheckBox>(*this);
      check.Create(group.hwnd(), 0, {10, cy, 190, 18}, c);
      check.SetFont(ui::VerdanaBold(10, ui::clWhite));
      check.SetColor(ui::clBlack);
      check.SetChecked(cy == 20);
      cy += 22;
    }
    auto& list = ui::MakeOwned<ui::ListBox>(*this);
    list.Create(p, 0, {240, 10, 200, 100});
    list.SetFont(ui::CourierNew(13, ui::clWhite));
    list.SetColor(ui::clBlack);
    for (const char* k : {"ABC123", "HOST7", "DENNI42"}) list.Add(k);
    list.SetItemIndex(1);
    auto& combo = ui::MakeOwned<ui::ComboBox>(*this);
    combo.Create(p, 0, {240, 120, 200, 21}, {"Jednorázový", "Denní"});
    combo.SetItemIndex(1);
    auto& date = ui::MakeOwned<ui::DatePicker>(*this);
    date.Create(p, 0, {240, 150, 110, 22});
    auto& time = ui::MakeOwned<ui::TimePicker>(*this);
    time.Create(p, 0, {355, 150, 85, 22});
    auto& doba = ui::MakeOwned<ui::NumberBox>(*this);
    doba.Create(p, 0, 0, {240, 180, 120, 22});
    doba.SetRange(60, 32767);
    doba.SetPosition(3600);
    auto& bevel = ui::MakeOwned<ui::Bevel>(*this);
    bevel.Create(p, 0, {8, 160, 216, 60});
    Caption(p, 20, 180, 190, "a lowered bevel frame", ui::clBlack).SetTransparent(true);
  }

  std::vector<TLcdDisplay*> animated_;
  int ticks_ = 0;
};

}  // namespace
}  // namespace sentavo::gallery

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
  int exitAfter = 0;
  for (int i = 0; argv && i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--exit-after") exitAfter = _wtoi(argv[i + 1]);
  }
  if (argv) LocalFree(argv);
  sentavo::ui::InitWindowLayer();
  sentavo::gallery::Gallery gallery;
  if (!gallery.Build()) return 1;
  gallery.Show();
  std::unique_ptr<sentavo::ui::Timer> quit;
  if (exitAfter > 0) {
    quit = std::make_unique<sentavo::ui::Timer>();
    quit->SetInterval(static_cast<unsigned>(exitAfter) * 1000);
    quit->OnTimer = [] { PostQuitMessage(0); };
  }
  return sentavo::ui::RunMessageLoop();
}
