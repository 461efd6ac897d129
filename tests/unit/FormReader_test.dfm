object frm_Resource: TTestForm
  Caption = 'From the resource'
  object btnOK: TTestControl
    SkinStream = {@file FormReader_test.bin}
  end
  object pnlBottom: TTestControl
    SkinStream = {@file made.bin}
  end
end
