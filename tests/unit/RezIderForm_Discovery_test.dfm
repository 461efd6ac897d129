object frm_Kinds: Tfrm_Kinds
  Left = 40
  Top = 40
  BorderStyle = bsNone
  Caption = 'Kinds'
  ClientHeight = 420
  ClientWidth = 440
  object chkAgree: TCheckBox
    Left = 8
    Top = 8
    Width = 120
    Height = 17
    Caption = 'Agree'
    Checked = True
  end
  object rbFirst: TRadioButton
    Left = 8
    Top = 30
    Width = 120
    Height = 17
    Caption = 'First'
    Checked = True
  end
  object rbSecond: TRadioButton
    Left = 8
    Top = 50
    Width = 120
    Height = 17
    Caption = 'Second'
  end
  object cbColour: TComboBox
    Left = 8
    Top = 75
    Width = 120
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Red'
      'Green')
    ItemIndex = 0
  end
  object rgSize: TRadioGroup
    Left = 140
    Top = 8
    Width = 130
    Height = 90
    Caption = 'Size'
    Items.Strings = (
      'Small'
      'Medium'
      'Large')
    ItemIndex = 1
  end
  object lstNames: TListBox
    Left = 280
    Top = 8
    Width = 150
    Height = 90
    Items.Strings = (
      'Ann'
      'Bob')
  end
  object pbDone: TProgressBar
    Left = 8
    Top = 105
    Width = 200
    Height = 16
    Position = 50
  end
  object lvFiles: TListView
    Left = 8
    Top = 130
    Width = 200
    Height = 90
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Name'
        Width = 100
      end
      item
        Caption = 'Size'
        Width = 60
      end>
  end
  object tcKinds: TTabControl
    Left = 220
    Top = 105
    Width = 210
    Height = 115
    Tabs.Strings = (
      'One'
      'Two'
      'Three')
    TabIndex = 1
  end
  object tsPages: TTabSet
    Left = 8
    Top = 230
    Width = 300
    Height = 22
    Tabs.Strings = (
      'Alpha'
      'Beta'
      'Gamma')
    TabIndex = 0
  end
  object mmoNotes: TMemo
    Left = 8
    Top = 260
    Width = 300
    Height = 70
    ScrollBars = ssVertical
    Lines.Strings = (
      'Notes')
  end
  object pcPages: TPageControl
    Left = 320
    Top = 230
    Width = 110
    Height = 100
  end
  object pnlOptions: TPanel
    Left = 8
    Top = 340
    Width = 300
    Height = 70
    object chkBold: TCheckBox
      Left = 8
      Top = 8
      Width = 100
      Height = 17
      Caption = 'Bold'
    end
    object chkItalic: TCheckBox
      Left = 8
      Top = 30
      Width = 100
      Height = 17
      Caption = 'Italic'
    end
  end
end
