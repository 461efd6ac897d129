object frm_Flash: Tfrm_Flash
  Left = 0
  Top = 0
  BorderStyle = bsNone
  AlphaBlend = True
  AlphaBlendValue = 220
  ClientHeight = 281
  ClientWidth = 498
  Color = 15198183
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 498
    Height = 281
    AutoSize = True
    Picture.Data = {@file Splash.picture}
  end
  object Label1: TLabel
    Left = 179
    Top = 255
    Width = 140
    Height = 13
    Caption = 'Load update list,please wait...'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
end
