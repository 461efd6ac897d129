object frm_Load: Tfrm_Load
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Velloran'
  ClientHeight = 300
  ClientWidth = 420
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  AlphaBlend = True
  AlphaBlendValue = 220
  KeyPreview = True
  Tag = 7
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object sbMain: TStatusBar
    Left = 0
    Top = 281
    Width = 420
    Height = 19
    SimplePanel = False
  end
  object pnlBottom: TPanel
    Left = 0
    Top = 240
    Width = 420
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    object btnInstall: TBitBtn
      Left = 8
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Install into MSN Messenger '
      Caption = '&Install'
      ParentShowHint = False
      ShowHint = True
      TabOrder = 1
      OnClick = btnInstallClick
    end
    object btnOK: TButton
      Left = 100
      Top = 8
      Width = 75
      Height = 25
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 0
    end
    object btnCancel: TButton
      Left = 200
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Cancel'
      Cancel = True
      ModalResult = mrCancel
      TabOrder = 2
    end
  end
  object pnlLeft: TPanel
    Left = 0
    Top = 0
    Width = 150
    Height = 240
    Align = alLeft
    BevelOuter = bvNone
    BorderStyle = bsSingle
    TabOrder = 2
    object pgContent: TPageControl
      Left = 0
      Top = 0
      Width = 146
      Height = 236
      ActivePage = tabEmoticons
      Align = alClient
      TabOrder = 0
      OnChange = pgContentChange
      object tabWinks: TTabSheet
        Caption = 'Winks'
        object tvWinks: TTreeView
          Left = 0
          Top = 0
          Width = 138
          Height = 208
          Align = alClient
          BorderStyle = bsNone
          HideSelection = False
          Images = ImgList
          Indent = 19
          ReadOnly = True
          ShowHint = True
          TabOrder = 0
          OnChange = tvWinksChange
          OnClick = tvWinksClick
          OnDblClick = tvWinksClick
        end
      end
      object tabEmoticons: TTabSheet
        Caption = 'Emoticons'
        object lstWinks: TListBox
          Left = 0
          Top = 0
          Width = 138
          Height = 208
          Style = lbOwnerDrawFixed
          Align = alClient
          ItemHeight = 20
          Items.Strings = (
            'one'
            'two')
          TabOrder = 0
          OnDrawItem = lstWinksDrawItem
        end
      end
    end
  end
  object pnlClient: TPanel
    Left = 150
    Top = 0
    Width = 270
    Height = 240
    Align = alClient
    BevelInner = bvLowered
    Caption = 'Preview'
    TabOrder = 0
    object grbPreview: TGroupBox
      Left = 10
      Top = 10
      Width = 200
      Height = 120
      Caption = 'Preview'
      TabOrder = 0
      object Image1: TImage
        Left = 10
        Top = 20
        Width = 50
        Height = 50
        AutoSize = True
        Picture.Data = {
          07544269746D617046000000424D460000000000000036000000280000000200
          000002000000010018000000000010000000130B0000130B0000000000000000
          0000FF0000FF000000000000FF0000FF0000}
      end
    end
    object edtvalue: TEdit
      Left = 10
      Top = 140
      Width = 121
      Height = 21
      CharCase = ecLowerCase
      MaxLength = 40
      TabOrder = 1
      Text = 'typed'
    end
    object lblprompt: TLabel
      Left = 10
      Top = 170
      Width = 100
      Height = 13
      Cursor = crHandPoint
      Caption = 'Support Mail:'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clBlue
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsUnderline]
      ParentFont = False
      Transparent = True
      OnMouseMove = lblpromptMouseMove
      OnMouseLeave = lblpromptMouseLeave
    end
    object Bevel1: TBevel
      Left = 0
      Top = 200
      Width = 260
      Height = 3
      Shape = bsBottomLine
    end
  end
  object ImgList: TImageList
    Left = 8
    Top = 8
  end
  object tmrPoll: TTimer
    Enabled = False
    Interval = 250
    OnTimer = tmrPollTimer
  end
  object ApplicationEvents1: TApplicationEvents
    OnMessage = ApplicationEvents1Message
  end
end
