object frm_Main: Tfrm_Main
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Velloran'
  ClientHeight = 449
  ClientWidth = 688
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poDesktopCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object sbMain: TStatusBar
    Left = 0
    Top = 430
    Width = 688
    Height = 19
    Align = alBottom
    SizeGrip = False
  end
  object pnlBottom: TPanel
    Left = 0
    Top = 389
    Width = 688
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 2
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
    object btnPreview: TBitBtn
      Left = 184
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Preview Content'
      Caption = '&Preview'
      ShowHint = True
      TabOrder = 0
      Visible = False
      OnClick = btnPreviewClick
    end
    object btnManager: TBitBtn
      Left = 320
      Top = 8
      Width = 91
      Height = 25
      Hint = 'Drellmark'
      Caption = '&Manager Winks'
      ShowHint = True
      TabOrder = 5
      OnClick = btnManagerClick
    end
    object btnInstall: TBitBtn
      Left = 432
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Install into MSN Messenger '
      Caption = '&Install'
      ShowHint = True
      TabOrder = 1
      OnClick = btnInstallClick
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
    BevelOuter = bvNone
    BorderStyle = bsSingle
    TabOrder = 0
    object pgContent: TPageControl
      Left = 0
      Top = 0
      Width = 221
      Height = 385
      Align = alClient
      TabOrder = 0
      OnChange = pgContentChange
      object tabWinks: TTabSheet
        Caption = 'Winks'
        object tvWinks: TTreeView
          Left = 0
          Top = 0
          Width = 213
          Height = 357
          Align = alClient
          BorderStyle = bsNone
          HideSelection = False
          Images = ImgList
          Indent = 19
          ReadOnly = True
          ShowHint = True
          TabOrder = 0
          OnChange = tvEmoticonsChange
          OnClick = btnPreviewClick
          OnDblClick = btnPreviewClick
        end
      end
      object tabEmoticons: TTabSheet
        Caption = 'Emoticons'
        object tvEmoticons: TTreeView
          Left = 0
          Top = 0
          Width = 213
          Height = 357
          Align = alClient
          BorderStyle = bsNone
          HideSelection = False
          Images = ImgList
          Indent = 19
          ReadOnly = True
          ShowHint = True
          TabOrder = 0
          OnChange = tvEmoticonsChange
          OnClick = btnPreviewClick
          OnDblClick = btnPreviewClick
        end
      end
    end
  end
  object pnlClient: TPanel
    Left = 225
    Top = 0
    Width = 463
    Height = 389
    Align = alClient
    BorderStyle = bsSingle
    TabOrder = 1
    object grbPreview: TGroupBox
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
      object sweb: TWebBrowser
        Left = 2
        Top = 15
        Width = 453
        Height = 366
        Align = alClient
        TabOrder = 1
      end
    end
  end
  object msnhttp: THttpClient
    AllowCookies = True
    Accept = 'text/html, */*'
    ContentType = 'text/html'
    UserAgent = 'Mozilla/3.0 (compatible; Indy Library)'
  end
  object IdAntiFreeze1: TAntiFreeze
  end
  object msins: TMessengerContent
  end
  object doc: TXMLDocument
    DOMVendor = 'MSXML'
  end
  object ImgList: TImageList
    ShareImages = True
    Bitmap = {@file ImgList.bmp}
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
