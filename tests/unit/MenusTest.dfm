object MenusTestForm: TMenusTestForm
  Left = 60
  Top = 60
  Width = 360
  Height = 260
  Caption = 'Menus'
  Menu = MainMenu1
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 352
    Height = 29
    Menu = ToolMenu
  end
  object Panel1: TPanel
    Left = 20
    Top = 60
    Width = 200
    Height = 100
    PopupMenu = PopupMenu1
  end
  object Images: TImageList
    Width = 16
    Height = 16
  end
  object MainMenu1: TMainMenu
    Images = Images
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
        Default = True
        ImageIndex = 0
        ShortCut = 16463
        OnClick = ItemClick
      end
      object Sep1: TMenuItem
        Caption = '-'
      end
      object Wrap1: TMenuItem
        Caption = '&Wrap'
        Checked = True
        OnClick = ItemClick
        OnMeasureItem = OwnMeasure
      end
      object Hidden1: TMenuItem
        Caption = 'Hidden'
        Visible = False
      end
      object Locked1: TMenuItem
        Caption = '&Locked'
        Enabled = False
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Small1: TMenuItem
        Caption = '&Small'
        Checked = True
        GroupIndex = 1
        RadioItem = True
        OnClick = ItemClick
      end
      object Large1: TMenuItem
        Caption = '&Large'
        GroupIndex = 1
        RadioItem = True
        OnClick = ItemClick
      end
      object More1: TMenuItem
        Caption = '&More'
        object Deep1: TMenuItem
          Caption = '&Deep'
          OnClick = ItemClick
        end
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      OnClick = ItemClick
    end
  end
  object PopupMenu1: TPopupMenu
    object Copy1: TMenuItem
      Caption = '&Copy'
      OnClick = ItemClick
      OnMeasureItem = OwnMeasure
    end
    object Paste1: TMenuItem
      Caption = '&Paste'
      OnClick = ItemClick
    end
  end
  object ToolMenu: TMainMenu
    object Tools1: TMenuItem
      Caption = '&Tools'
      object Options1: TMenuItem
        Caption = '&Options'
        OnClick = ItemClick
      end
    end
  end
end
