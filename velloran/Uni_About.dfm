object frm_About: Tfrm_About
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Abount Velloran'
  ClientHeight = 201
  ClientWidth = 386
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poDesktopCenter
  object Image1: TImage
    Left = 8
    Top = 4
    Width = 100
    Height = 80
    Picture.Data = {@file About.picture}
  end
  object Label3: TLabel
    Left = 121
    Top = 4
    Width = 80
    Height = 24
    Caption = 'Velloran'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -19
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object Label4: TLabel
    Left = 121
    Top = 37
    Width = 118
    Height = 13
    Caption = 'Version:2.0(Build 11.8)'
  end
  object Label5: TLabel
    Left = 121
    Top = 56
    Width = 190
    Height = 26
    Caption = 'Copyright (C) 2004-2005 Fennowick.'#13#10'All rights reserved.'
  end
  object Label2: TLabel
    Left = 8
    Top = 90
    Width = 370
    Height = 26
    Caption = 
      '    Corvanel is a program that allows you to preview and '#13#10'install additional Winks,prev' +
      'iew and remove the winks that you didn'#39't like.'
  end
  object Label8: TLabel
    Left = 8
    Top = 128
    Width = 98
    Height = 13
    Caption = 'Technical Support :'
  end
  object Label9: TLabel
    Left = 8
    Top = 144
    Width = 142
    Height = 13
    Cursor = crHandPoint
    Hint = 'support@fennowick.example'
    Caption = 'support@fennowick.example'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    ShowHint = True
    OnClick = Label9Click
    OnMouseMove = Label9MouseMove
    OnMouseLeave = Label9MouseLeave
  end
  object Bevel1: TBevel
    Left = 0
    Top = 167
    Width = 382
    Height = 3
    Shape = bsBottomLine
  end
  object btnOK: TButton
    Left = 280
    Top = 173
    Width = 95
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
end
