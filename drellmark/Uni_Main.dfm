object frm_Main: Tfrm_Main
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Drellmark'
  ClientHeight = 449
  ClientWidth = 688
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poDesktopCenter
  OnShow = FormShow
  object sbMain: TStatusBar
    Left = 0
    Top = 430
    Width = 688
    Height = 19
    Align = alBottom
    SimplePanel = False
    SizeGrip = False
  end
  object pnlBottom: TPanel
    Left = 0
    Top = 389
    Width = 688
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    object bnHelp: TBitBtn
      Left = 8
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Help '
      Caption = '&Help'
      ShowHint = True
      TabOrder = 4
      OnClick = bnHelpClick
    end
    object btnAccount: TBitBtn
      Left = 320
      Top = 8
      Width = 99
      Height = 25
      Hint = 'MSN Account'
      Caption = 'MSN Account'
      ShowHint = True
      TabOrder = 0
      OnClick = btnAccountClick
    end
    object btnRemove: TBitBtn
      Left = 432
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Install into MSN Messenger '
      Caption = '&Remove'
      ShowHint = True
      TabOrder = 1
      OnClick = btnRemoveClick
    end
    object btnAbout: TBitBtn
      Left = 520
      Top = 8
      Width = 75
      Height = 25
      Hint = 'About Fennowick'
      Caption = '&About'
      ShowHint = True
      TabOrder = 2
      OnClick = btnAboutClick
    end
    object btnExit: TBitBtn
      Left = 600
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Exit Fennowick'
      Caption = 'E&xit'
      ShowHint = True
      TabOrder = 3
      OnClick = btnExitClick
    end
  end
  object pnlLeft: TPanel
    Left = 0
    Top = 0
    Width = 225
    Height = 389
    Align = alLeft
    BorderStyle = bsSingle
    TabOrder = 0
    object lstWinks: TCodeListBox
      Left = 1
      Top = 1
      Width = 219
      Height = 383
      Align = alClient
      ItemHeight = 20
      Style = lbOwnerDrawFixed
      TabOrder = 0
      OnClick = lstWinksClick
      OnDrawItem = lstWinksDrawItem
    end
  end
  object pnlClient: TPanel
    Left = 225
    Top = 0
    Width = 463
    Height = 389
    Align = alClient
    BorderStyle = bsSingle
    TabOrder = 2
    object GroupBox1: TGroupBox
      Left = 1
      Top = 1
      Width = 457
      Height = 383
      Align = alClient
      Caption = 'Preview'
      TabOrder = 0
      object sflash: TShockwaveFlash
        Left = 2
        Top = 15
        Width = 453
        Height = 366
        Align = alClient
        TabOrder = 0
        WMode = 'Window'
        Playing = True
        Loop = True
        Quality = 1
        Menu = False
        AllowScriptAccess = 'always'
        Scale = 'ShowAll'
      end
    end
  end
  object ImgList: TImageList
    ShareImages = True
    Bitmap = {@file wink16.bmp}
  end
  object ApplicationEvents1: TApplicationEvents
    OnMessage = ApplicationEvents1Message
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu]
    Skin3rd.Strings = (
      'TTBDock=Panel'
      'TTBToolbar=Panel'
      'TImageEnMView=scrollbar'
      'TImageEnView=scrollbar'
      'TRzButton=button'
      'TRzCheckGroup=CheckGroup'
      'TRzRadioGroup=Radiogroup'
      'TRzRadioButton=Radiobutton'
      'TRzCheckBox=Checkbox'
      'TRzButtonEdit=Edit'
      'TRzDBRadioGroup=Radiogroup'
      'TRzDBRadioButton=Radiobutton'
      'TRzDBCheckBox=Checkbox'
      'TDBCheckboxEh=Checkbox'
      'TDBCheckboxEh=Checkbox'
      'TLMDCHECKBOX=Checkbox'
      'TLMDDBCHECKBOX=Checkbox'
      'TLMDRadiobutton=Radiobutton'
      'TLMDGROUPBOX=Panel'
      'TLMDSIMPLEPANEL=Panel'
      'TLMDDBCalendar=Panel'
      'TLMDButtonPanel=Panel'
      'TLMDLMDCalculator=Panel'
      'TLMDHeaderPanel=Panel'
      'TLMDTechnicalLine=Panel'
      'TLMDLMDClock=Panel'
      'TLMDTrackbar=trackbar'
      'TLMDListCombobox=combobox'
      'TLMDCheckListCombobox=combobox'
      'TLMDHeaderListCombobox=combobox'
      'TLMDImageCombobox=combobox'
      'TLMDColorCombobox=combobox'
      'TLMDFontCombobox=combobox'
      'TLMDFontSizeCombobox=combobox'
      'TLMDFontSizeCombobox=combobox'
      'TLMDPrinterCombobox=combobox'
      'TLMDDriveCombobox=combobox'
      'TLMDCalculatorComboBox=combobox'
      'TLMDTrackBarComboBox=combobox'
      'TLMDCalendarComboBox=combobox'
      'TLMDRADIOGROUP=radiogroup'
      'TLMDCheckGroup=CheckGroup'
      'TLMDDBRADIOGROUP=radiogroup'
      'TLMDDBCheckGroup=CheckGroup'
      'TLMDEDIT=Edit'
      'TLMDMASKEDIT=Edit'
      'TLMDBROWSEEDIT=Edit'
      'TLMDEXTSPINEDIT=Edit'
      'TLMDCALENDAREDIT=Edit'
      'TLMDFILEOPENEDIT=Edit'
      'TLMDFILESAVEEDIT=Edit'
      'TLMDCOLOREDIT=Edit'
      'TLMDDBEDIT=Edit'
      'TLMDDBMASKEDIT=Edit'
      'TLMDDBEXTSPINEDIT=Edit'
      'TLMDDBSPINEDIT=Edit'
      'TLMDDBEDITDBLookup=Edit'
      'TLMDEDITDBLookup=Edit'
      'TDBLookupCombobox=Combobox'
      'TWWDBCombobox=Combobox'
      'TWWDBLookupCombo=Combobox'
      'TWWDBCombobox=Combobox'
      'TWWKeyCombo=Combobox'
      'TWWTempKeyCombo=combobox'
      'TWWDBDateTimePicker=Combobox'
      'TWWRADIOGROUP=radiogroup'
      'TWWDBEDIT=Edit'
      'TcxDBCheckBox=checkbox'
      'TcxDBRadioGroup=radiogroup'
      'TcxRadioGroup=radiogroup'
      'TcxCheckBox=checkbox'
      'TOVCPICTUREFIELD=Edit'
      'TOVCDBPICTUREFIELD=Edit'
      'TOVCSLIDEREDIT=Edit'
      'TOVCDBSLIDEREDIT=Edit'
      'TOVCSIMPLEFIELD=Edit'
      'TOVCDBSIMPLEFIELD=Edit'
      'TO32DBFLEXEDIT=Edit'
      'TOVCNUMERICFIELD=Edit'
      'TOVCDBNUMERICFIELD=Edit')
    SkinStore = '(Good)'
    SkinFormtype = sfMainform
    Version = '2.65.6.22'
    MenuUpdate = True
    SkinStream = {@file default.skin}
  end
end
