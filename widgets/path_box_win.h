// TBUCustomBox, TBUDirectoryBox and TBUFileNameBox: an edit field with a browse button beside it.
// The edit field's text is the box's value; nothing keeps a copy of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls_win.h"
#include "widgets/color_button_win.h"
#include "widgets/path_box.h"
#include "widgets/select_directory_win.h"

namespace sentavo::widgets {

// The IDs of the box's parts, for the programs that drive it.
inline constexpr int kBoxEditId = 1;
inline constexpr int kBoxButtonId = 2;

class TBUCustomBox : public ui::Window, public BoxText {
 public:
  explicit TBUCustomBox(ui::Component* owner = nullptr, std::string name = {});
  ~TBUCustomBox() override;
  // A new box is 150 x 20 pixels.
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 150, 20});

  TPosition ButtonPosition() const { return position_; }
  void SetButtonPosition(TPosition position);
  bool ButtonIsFlat() const { return flat_; }
  void SetButtonIsFlat(bool flat);
  const ui::PixelImage& Picture() const { return button_.Glyph(); }
  void SetPicture(const ui::PixelImage& picture);
  const ui::FontSpec& EditFont() const { return edit_.GetFont(); }
  void SetEditFont(const ui::FontSpec& font) { edit_.SetFont(font); }
  bool ReadOnly() const { return edit_.ReadOnly(); }
  void SetReadOnly(bool readOnly) { edit_.SetReadOnly(readOnly); }
  const std::string& HintEdit() const { return hintEdit_; }
  void SetHintEdit(const std::string& hint);
  const std::string& HintButton() const { return hintButton_; }
  void SetHintButton(const std::string& hint);

  // The browse operation, run by a click on the button.
  virtual void Browse() {}

  std::string EditText() const override { return edit_.Text(); }
  void SetEditText(const std::string& text) override { edit_.SetText(text); }

  ui::Edit& EditField() { return edit_; }
  TColorButton& BrowseButton() { return button_; }

  // The keyboard focus entered the box or left it for a control outside it.
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  ui::Control::KeyEvent OnKeyDown;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Layout();
  void UpdateTips();
  bool Inside(HWND other) const;
  ui::Edit edit_;
  TColorButton button_;
  HWND tips_ = nullptr;
  TPosition position_ = TPosition::onRight;
  bool flat_ = false;
  std::string hintEdit_, hintButton_;
};

class TBUDirectoryBox : public TBUCustomBox {
 public:
  explicit TBUDirectoryBox(ui::Component* owner = nullptr, std::string name = {});
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 150, 20});

  std::string Directory() const { return EditText(); }
  void SetDirectory(const std::string& directory) { SetEditText(directory); }
  const std::string& DialogTitle() const { return select_.Title(); }
  void SetDialogTitle(const std::string& title) { select_.SetTitle(title); }
  const std::string& DialogInitialDir() const { return select_.StartDir(); }
  void SetDialogInitialDir(const std::string& dir) { select_.SetStartDir(dir); }
  const TSelectDirOpts& DialogOptions() const { return select_.Options(); }
  void SetDialogOptions(const TSelectDirOpts& options) { select_.SetOptions(options); }
  bool ClassicDialog() const { return classic_; }
  void SetClassicDialog(bool classic) { classic_ = classic; }
  TBUSelectDirectory& SelectDirectory() { return select_; }

  void Browse() override;

  TOnOpened OnOpened;
  TOnOpenCanceled OnOpenCanceled;

 private:
  WinDirectoryDialogs dialogs_;
  TBUSelectDirectory& select_;
  bool classic_ = true;
};

class TBUFileNameBox : public TBUCustomBox {
 public:
  explicit TBUFileNameBox(ui::Component* owner = nullptr, std::string name = {});
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 150, 20});

  std::string FileName() const { return EditText(); }
  void SetFileName(const std::string& fileName) { SetEditText(fileName); }
  const std::string& DialogTitle() const { return request_.title; }
  void SetDialogTitle(const std::string& title) { request_.title = title; }
  const std::string& DialogInitialDir() const { return request_.initialDir; }
  void SetDialogInitialDir(const std::string& dir) { request_.initialDir = dir; }
  const TOpenOptions& DialogOptions() const { return request_.options; }
  void SetDialogOptions(const TOpenOptions& options) { request_.options = options; }
  const std::string& DialogFilter() const { return request_.filter; }
  void SetDialogFilter(const std::string& filter) { request_.filter = filter; }
  const std::string& DefaultExtension() const { return request_.defaultExt; }
  void SetDefaultExtension(const std::string& ext) { request_.defaultExt = ext; }
  // The names of the last multiple selection.
  const std::vector<std::string>& Files() const { return files_; }

  void Browse() override;

  TOnOpened OnOpened;
  TOnOpenCanceled OnOpenCanceld;

 private:
  WinFileDialogs dialogs_;
  OpenFileRequest request_;
  std::vector<std::string> files_;
};

}  // namespace sentavo::widgets
