object SkinStoredForm: TSkinStoredForm
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu]
    Skin3rd.Strings = (
      'TTBDock=Panel'
      'TTBToolbar=Panel'
      'TImageEnMView=scrollbar')
    SkinFile = ''
    SkinStore = '(Good)'
    SkinFormtype = sfMainform
    Version = '2.65.6.22'
    MenuUpdate = True
    SkinStream = {@file default.skin}
  end
end
