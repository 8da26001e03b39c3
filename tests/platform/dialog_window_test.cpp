// The settings window on a private X server, driven with real key presses, in Japanese as it
// was first made, and in English. Enter on a box just ticked is the real match's (it ticks the
// high-resolution box with the mouse and launches with Enter).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/i18n.h"
#include "e2e/x_server.h"
#include "platform/gtk/gtk_settings_dialog.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// The installed application icon, as the build draws it.
const std::string kIcon = BuildDir() + "/icons/64x64/apps/" BRAWL_APP_ID ".png";

// Every control by its caption in Japanese and in English, and where it must stand in the
// client area: tests/platform/dialog_layout.tsv.
struct Control {
  std::string japanese, english;
  int left, top, width, height;
};
std::vector<Control> Layout() {
  std::vector<Control> layout;
  for (const auto& r : Rows("tests/platform/dialog_layout.tsv"))
    layout.push_back({r[0], r[1], std::stoi(r[2]), std::stoi(r[3]), std::stoi(r[4]), std::stoi(r[5])});
  return layout;
}

std::string Caption(GtkWidget* widget) {
  if (GTK_IS_FRAME(widget)) return gtk_frame_get_label(GTK_FRAME(widget));
  if (GTK_IS_BUTTON(widget)) return gtk_button_get_label(GTK_BUTTON(widget));
  return "";
}

void Collect(GtkWidget* widget, std::map<std::string, GtkWidget*>& found) {
  const std::string caption = Caption(widget);
  if (!caption.empty()) found[caption] = widget;
  if (GTK_IS_CONTAINER(widget) && !GTK_IS_BUTTON(widget)) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* child = children; child != nullptr; child = child->next) {
      Collect(GTK_WIDGET(child->data), found);
    }
    g_list_free(children);
  }
}

// Every warning and critical GLib, GDK and GTK log while a case runs.
std::vector<std::string> logged;

void KeepLog(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
  if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) != 0)
    logged.push_back(std::string(domain != nullptr ? domain : "") + ": " + message);
  g_log_default_handler(domain, level, message, nullptr);
}

class DialogWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_log_set_default_handler(KeepLog, nullptr);
    server_ = new XServer;
    const std::string why = server_->Start();
    if (!why.empty()) {
      start_failure_ = why;
      return;
    }
    setenv("DISPLAY", server_->display().c_str(), 1);
    // The player's language as the game takes it: Japanese under a UTF-8 locale.
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("LANGUAGE", "ja", 1);
    StartLanguage(BuildDir() + "/locale/");
    if (gtk_init_check(nullptr, nullptr) != TRUE) start_failure_ = "GTK cannot open " + server_->display();
  }
  static void TearDownTestSuite() {
    // The display is left open: closing it finalizes GTK's own tooltip window (made when
    // the pointer enters any of its windows) after the display's settings, and GtkWindow's
    // finalize then disconnects from settings that are gone, a GTK critical. Nothing reads
    // the connection once the server has gone.
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    ASSERT_EQ(start_failure_, "");
    dialog_ = std::make_unique<GtkSettingsDialog>(kIcon);
  }
  void TearDown() override {
    setenv("LANGUAGE", "ja", 1);
    if (HasFailure()) server_->KeepScreenOfAFailure(BuildDir());
    dialog_.reset();
    DrainGtkEvents();
    for (const std::string& line : logged) ADD_FAILURE() << "logged: " << line;
    logged.clear();
  }

  // Shows the window as start-up does and waits until it has the keyboard.
  void ShowWindow() {
    dialog_->Place(320, 240);
    dialog_->Apply(controls_);
    dialog_->Show();
    ASSERT_TRUE(PumpUntil([&] { return gtk_window_is_active(GTK_WINDOW(dialog_->window())) == TRUE; }))
        << "the window never got the focus";
    widgets_.clear();
    Collect(dialog_->window(), widgets_);
  }

  bool PumpUntil(const std::function<bool()>& done) {
    return Until(
        [&] {
          dialog_->Pump(controls_, events_, false);
          return done();
        },
        std::chrono::seconds(10));
  }

  // Every control where it must stand, found by its caption in Japanese or in English.
  void ExpectLayout(bool english) {
    const std::vector<Control> layout = Layout();
    ASSERT_EQ(widgets_.size(), layout.size());
    for (size_t i = 0; i < layout.size(); ++i) {
      const Control& at = layout[i];
      const std::string caption = english ? at.english : at.japanese;
      ASSERT_EQ(widgets_.count(caption), 1u) << caption;
      GtkAllocation box;
      gtk_widget_get_allocation(widgets_[caption], &box);
      EXPECT_EQ(box.x, at.left) << caption;
      EXPECT_EQ(box.y, at.top) << caption;
      EXPECT_EQ(box.width, at.width) << caption;
      if (at.height < 20) {
        EXPECT_LE(box.y + box.height, layout.at(i + 1).top) << caption;
      } else {
        EXPECT_EQ(box.height, at.height) << caption;
      }
    }
  }

  std::string Focused() {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog_->window()));
    return focus == nullptr ? "(none)" : Caption(focus);
  }

  static XServer* server_;
  static std::string start_failure_;
  std::unique_ptr<GtkSettingsDialog> dialog_;
  DialogControls controls_;
  std::vector<DialogEvent> events_;
  std::map<std::string, GtkWidget*> widgets_;
};

XServer* DialogWindowTest::server_ = nullptr;
std::string DialogWindowTest::start_failure_;

TEST_F(DialogWindowTest, WindowHasItsCaptionFixedSizeAnIconAndEveryControlInPlaceAndFont) {
  ShowWindow();
  GtkWindow* window = GTK_WINDOW(dialog_->window());
  EXPECT_STREQ(gtk_window_get_title(window), kSettingsTitle);
  EXPECT_FALSE(gtk_window_get_resizable(window));
  EXPECT_EQ(gtk_window_get_type_hint(window), GDK_WINDOW_TYPE_HINT_DIALOG);
  // The icon it was given (WindowKeys reads it, 64 x 64, from the installed game's windows).
  ASSERT_NE(gtk_window_get_icon(window), nullptr);
  GdkWindow* client = gtk_widget_get_window(dialog_->window());
  EXPECT_EQ(gdk_window_get_width(client), 320);
  EXPECT_EQ(gdk_window_get_height(client), 240);
  // Centred on the 1024 x 768 screen, give or take the window manager's frame.
  GdkRectangle frame{};
  gdk_window_get_frame_extents(client, &frame);
  const int decoration_w = frame.width - 320, decoration_h = frame.height - 240;
  EXPECT_LE(std::abs(frame.x + frame.width / 2 - 512), decoration_w + 2) << frame.x;
  EXPECT_LE(std::abs(frame.y + frame.height / 2 - 384), decoration_h + 2) << frame.y;
  ExpectLayout(false);
  // The captions are in the Japanese gothic at nine points.
  GtkWidget* label = gtk_bin_get_child(GTK_BIN(widgets_.at("出撃！")));
  PangoFontDescription* font = nullptr;
  gtk_style_context_get(gtk_widget_get_style_context(label), GTK_STATE_FLAG_NORMAL, "font", &font, nullptr);
  ASSERT_NE(font, nullptr);
  EXPECT_STREQ(pango_font_description_get_family(font), "IPAPGothic");
  EXPECT_EQ(pango_font_description_get_size(font), 9 * PANGO_SCALE);
  pango_font_description_free(font);
}

// A player who set no language: the same window, every caption in English and in its place.
TEST_F(DialogWindowTest, WithoutAJapaneseLanguageTheWindowSpeaksEnglishInTheSameLayout) {
  unsetenv("LANGUAGE");
  ShowWindow();
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog_->window())), kEnglishSettingsTitle);
  ExpectLayout(true);
}

TEST_F(DialogWindowTest, TabGoesFromTheStartButtonDownTheWindowQuitButtonBeforeTheFrameRateBox) {
  ShowWindow();
  const char* order[] = {"1P ジョイスティックを使う", "2P ジョイスティックを使う",
                         "高解像度モード(重い)で出撃", "あたた・・・腹が痛くなった、出撃取りやめだ",
                         "君はマシンの限界を見る・・・(fps表示)"};
  for (const char* next : order) {
    server_->Press("Tab");
    EXPECT_TRUE(PumpUntil([&] { return Focused() == next; }))
        << "expected " << next << ", focus on " << Focused();
  }
}

TEST_F(DialogWindowTest, WindowDestroyedByTheWindowSystemIsACloseRequestAndNoWidgetIsTouchedAgain) {
  ShowWindow();
  // As xkill does: the window is gone before GTK hears of it.
  server_->Run("xdotool search --onlyvisible --name '^出撃前の設定$' windowclose");
  ASSERT_TRUE(PumpUntil([&] { return !events_.empty(); }));
  EXPECT_EQ(events_, std::vector<DialogEvent>{DialogEvent::Close});
  EXPECT_EQ(dialog_->window(), nullptr);
  // What the game may still do with it: nothing reaches a widget, nothing is made again.
  dialog_->Hide();
  dialog_->Apply(controls_);
  dialog_->Show();
  dialog_->Pump(controls_, events_, false);
  EXPECT_EQ(dialog_->window(), nullptr);
  std::erase_if(logged, [](const std::string& line) { return OnlyGtkOwnWordsOnADestroyedWindow(line); });
}

}  // namespace

}  // namespace brawl
