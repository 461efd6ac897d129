object frm_GetSummary: Tfrm_GetSummary
  Left = 0
  Top = 0
  ActiveControl = edtvalue
  BorderStyle = bsDialog
  Caption = 'Input'
  ClientHeight = 93
  ClientWidth = 316
  Color = clBtnFace
  Font.Charset = 134
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = #203#206#204#229
  Font.Style = []
  Position = poDesktopCenter
  object lblprompt: TLabel
    Left = 8
    Top = 10
    Width = 240
    Height = 12
    Caption = 'Please enter the account of MSN Messenger:'
  end
  object edtvalue: TEdit
    Left = 8
    Top = 27
    Width = 297
    Height = 20
    CharCase = ecLowerCase
    MaxLength = 255
    TabOrder = 0
  end
  object btnok: TButton
    Left = 79
    Top = 59
    Width = 75
    Height = 22
    Caption = 'OK'
    Default = True
    TabOrder = 1
    OnClick = btnokClick
  end
  object btncancel: TButton
    Left = 160
    Top = 59
    Width = 75
    Height = 22
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
