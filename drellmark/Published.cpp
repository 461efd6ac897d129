#include "drellmark/Published.h"

#include "drellmark/CodeListBox.h"
#include "tk/AppEvnts.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"
#include "tk/ImgList.h"
#include "tk/OleCtrls.h"
#include "tk/StdCtrls.h"

namespace {

const TIdentMap kColors = {
    {"clBlack", int32_t(clBlack)},         {"clWhite", int32_t(clWhite)},
    {"clBlue", int32_t(clBlue)},           {"clBtnFace", int32_t(clBtnFace)},
    {"clWindow", int32_t(clWindow)},       {"clWindowText", int32_t(clWindowText)},
    {"clHighlight", int32_t(clHighlight)}, {"clHighlightText", int32_t(clHighlightText)},
};

const TIdentMap kCharsets = {
    {"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"ANSI_CHARSET", ANSI_CHARSET}, {"GB2312_CHARSET", GB2312_CHARSET}};

void RegisterCommon() {
  Published<TFont>()
      .Property("Name", &TFont::SetName)
      .Property("Height", &TFont::SetHeight)
      .Property("Charset", &TFont::SetCharset, kCharsets)
      .Property("Color", &TFont::SetColor, kColors)
      .Set("Style", &TFont::SetStyle,
           {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}, {"fsStrikeOut", 3}});

  Published<TControl>()
      .Property("Left", &TControl::SetLeft)
      .Property("Top", &TControl::SetTop)
      .Property("Width", &TControl::SetWidth)
      .Property("Height", &TControl::SetHeight)
      .Property("Caption", &TControl::SetCaption)
      .Property("Text", &TControl::SetText)
      .Property("Hint", &TControl::Hint)
      .Property("ShowHint", &TControl::ShowHint)
      .Property("Visible", &TControl::SetVisible)
      .Property("Enabled", &TControl::SetEnabled)
      .Property("Color", &TControl::SetColor, kColors)
      .Property("ParentFont", &TControl::SetParentFont)
      .Property("Align", &TControl::SetAlign,
                {{"alNone", alNone},
                 {"alTop", alTop},
                 {"alBottom", alBottom},
                 {"alLeft", alLeft},
                 {"alRight", alRight},
                 {"alClient", alClient}})
      .Object("Font", &TControl::Font)
      .Event("OnClick", &TControl::OnClick);

  Published<TWinControl>()
      .Property("TabOrder", &TWinControl::SetTabOrder)
      .Property("TabStop", &TWinControl::TabStop);

  Published<TCustomForm>()
      .Property("ClientWidth", &TCustomForm::SetClientWidth)
      .Property("ClientHeight", &TCustomForm::SetClientHeight)
      .Property("BorderStyle", &TCustomForm::SetBorderStyle,
                {{"bsNone", bsNone},
                 {"bsSingle", bsSingle},
                 {"bsSizeable", bsSizeable},
                 {"bsDialog", bsDialog},
                 {"bsToolWindow", bsToolWindow},
                 {"bsSizeToolWin", bsSizeToolWin}})
      .Set("BorderIcons", &TCustomForm::SetBorderIcons,
           {{"biSystemMenu", 0}, {"biMinimize", 1}, {"biMaximize", 2}, {"biHelp", 3}})
      .Property("Position", &TCustomForm::Position,
                {{"poDesigned", poDesigned},
                 {"poDefault", poDefault},
                 {"poScreenCenter", poScreenCenter},
                 {"poDesktopCenter", poDesktopCenter}})
      .Reference("ActiveControl", &TCustomForm::SetActiveControl)
      .Event("OnCreate", &TCustomForm::OnCreate)
      .Event("OnShow", &TCustomForm::OnShow);
}

void RegisterControls() {
  RegisterComponentClass<TLabel>();
  Published<TCustomLabel>().Property("Transparent", &TCustomLabel::SetTransparent);

  RegisterComponentClass<TEdit>();
  Published<TCustomEdit>()
      .Property("CharCase", &TCustomEdit::SetCharCase,
                {{"ecNormal", ecNormal}, {"ecUpperCase", ecUpperCase}, {"ecLowerCase", ecLowerCase}})
      .Property("MaxLength", &TCustomEdit::SetMaxLength);

  RegisterComponentClass<TButton>();
  RegisterComponentClass<TBitBtn>();
  Published<TButton>()
      .Property("Default", &TButton::SetDefault)
      .Property("Cancel", &TButton::Cancel)
      .Property("ModalResult", &TButton::ModalResult,
                {{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}});

  RegisterComponentClass<TGroupBox>();
  RegisterComponentClass<TStatusBar>();
  Published<TStatusBar>()
      .Property("SimplePanel", &TStatusBar::SetSimplePanel)
      .Property("SizeGrip", &TStatusBar::SetSizeGrip);

  RegisterComponentClass<TPanel>();
  const TIdentMap bevels = {
      {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}};
  Published<TCustomPanel>()
      .Property("BevelOuter", &TCustomPanel::SetBevelOuter, bevels)
      .Property("BevelInner", &TCustomPanel::SetBevelInner, bevels)
      .Property("BorderStyle", &TCustomPanel::SetBorderStyle, {{"bsNone", bsNone}, {"bsSingle", bsSingle}});

  RegisterComponentClass<TListBox>();
  Published<TCustomListBox>()
      .Property("Style", &TCustomListBox::SetStyle,
                {{"lbStandard", lbStandard}, {"lbOwnerDrawFixed", lbOwnerDrawFixed}})
      .Property("ItemHeight", &TCustomListBox::SetItemHeight)
      .Event("OnDrawItem", &TCustomListBox::OnDrawItem);

  RegisterComponentClass<TImageList>();
  Published<TImageList>()
      .Property("Width", &TImageList::SetWidth)
      .Property("Height", &TImageList::SetHeight)
      .Property("ShareImages", &TImageList::ShareImages)
      // The images as one bitmap file, a row of Width-wide pictures; fuchsia is left out when drawn.
      .Custom("Bitmap", [](TImageList* list, const TValue& v, TReader&) {
        TMemoryStream data;
        data.WriteBuffer(v.AsBinary().data(), int32_t(v.AsBinary().size()));
        data.SetPosition(0);
        TBitmap bitmap;
        bitmap.LoadFromStream(&data);
        list->AddMasked(&bitmap, clFuchsia);
      });

  RegisterComponentClass<TApplicationEvents>();
  Published<TApplicationEvents>().Event("OnMessage", &TApplicationEvents::OnMessage);
}

}  // namespace

void RegisterDrellmarkControls() {
  static const bool done = [] {
    RegisterCommon();
    RegisterControls();
    RegisterCodeListBox();
    RegisterOleControls();
    return true;
  }();
  (void)done;
}
