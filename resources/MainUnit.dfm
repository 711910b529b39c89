object MainForm: TMainForm
  Left = 426
  Top = 617
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsDialog
  Caption = 'Skarnivel - Torvik'
  ClientHeight = 391
  ClientWidth = 329
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poDesktopCenter
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnShow = FormShow
  TextHeight = 13
  object cxGroupBox1: TcxGroupBox
    Left = 8
    Top = 39
    Caption = 'Verbindungsparameter'
    ParentBackground = False
    Style.LookAndFeel.NativeStyle = False
    StyleDisabled.LookAndFeel.NativeStyle = False
    StyleFocused.LookAndFeel.NativeStyle = False
    StyleHot.LookAndFeel.NativeStyle = False
    TabOrder = 0
    Height = 89
    Width = 201
    object CB_Comport: TcxComboBox
      Left = 66
      Top = 24
      Properties.DropDownListStyle = lsFixedList
      Style.HotTrack = True
      Style.ButtonTransparency = ebtNone
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 0
      Width = 121
    end
    object cxLabel1: TcxLabel
      Left = 12
      Top = 25
      Caption = 'Anschluss'
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 1
    end
    object cxLabel2: TcxLabel
      Left = 12
      Top = 52
      Caption = 'Baudrate'
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 2
    end
    object CB_Baudrate: TcxComboBox
      Left = 66
      Top = 51
      Properties.DropDownListStyle = lsEditFixedList
      Properties.Items.Strings = (
        '9600'
        '19200'
        '38400'
        '57600'
        '100000'
        '115200'
        '200000'
        '230400'
        '460800'
        '500000'
        '576000'
        '921600'
        '1000000'
        '1500000'
        '2000000')
      Style.HotTrack = True
      Style.ButtonTransparency = ebtNone
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 3
      Text = '9600'
      Width = 121
    end
  end
  object cxImageList1: TcxImageList
    SourceDPI = 96
    FormatVersion = 1
    ImageInfo = <
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000214944415478DA63601805B40336510BFE23638A34936CC8303080E2
          401C05A40100588146A179B37A8D0000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000274944415478DA63601805384154CF89FFC89822CD2419824B33D186
          0C0303280E44AA44E30803007D588B256DDE2B030000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000294944415478DA636018BEA0A2A2E23F32265B23C90651640021CD04
          0D1906060C7C2C5025210D3D00003D22C0318FAB20580000000049454E44AE42
          6082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000304944415478DA636018B4C0266AC17F644CB646920C22A499A02114
          1940AC669C860C0303063E16A89290A89294E90E00ABA3F7312869C8DE000000
          0049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000214944415478DA63601805B403513D27FE23638A34936CC8303080E2
          401C05A40100D88355A152D338C40000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000274944415478DA6360180538414545C57F644C9166920CC1A5996843
          86810114072255A271840100A9217CEDB92B772E0000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000294944415478DA636018BEC0266AC17F644CB646920DA2C800429A09
          1A320C0C18F858A04A421A7A00005732B0911F1F13280000000049454E44AE42
          6082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000304944415478DA636018B420AAE7C47F644CB646920C22A499A02114
          1940AC669C860C0303063E16A89290A89294E90E006BC82BC0EFDF1B42000000
          0049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000214944415478DA63601805B403151515FF9131459A49366418184071
          208E02D200001AE44CE1D1C220630000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000274944415478DA6360180538814DD482FFC89822CD2419824B33D186
          0C0303280E44AA44E3080300ED4272C5ABBC12FD0000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000294944415478DA636018BE20AAE7C47F644CB646920DA2C800429A09
          1A320C0C18F858A04A421A7A00009746D6116F538A000000000049454E44AE42
          6082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          610000003F4944415478DA63601814E08486C67F18265B2D31861054834F01D1
          AEC4A690142F62682059332E43288A198A6D27DBFF548901AAA401AAA442B2D3
          04CD0100A7E68E1DB216F14E0000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          610000002A4944415478DA636018056070629ADC7F6C9868033EECB3F94F0E1E
          35607819B0AA42E43F397870640300852773C8270D1C290000000049454E44AE
          426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000344944415478DA636018051840639ACD7F72E4C092E89818390C05B8
          346093C330009F8BB0C951DF00B2BD40712052251A473000003FB07E413222C0
          5F0000000049454E44AE426082}
      end
      item
        ImageClass = 'TdxPNGImage'
        Image.Data = {
          89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF
          61000000214944415478DA6360A007F8DFC0F01F198F6AA6A5666C068C06E240
          C700C39000001F6A8B9133E110750000000049454E44AE426082}
      end>
  end
  object BTN_Beenden: TcxButton
    Left = 8
    Top = 8
    Width = 49
    Height = 25
    LookAndFeel.NativeStyle = False
    OptionsImage.ImageIndex = 11
    OptionsImage.Images = cxImageList1
    TabOrder = 1
    OnClick = BTN_BeendenClick
  end
  object BTN_Connect: TcxButton
    Left = 151
    Top = 8
    Width = 82
    Height = 25
    Caption = 'Verbinden'
    Enabled = False
    LookAndFeel.NativeStyle = False
    OptionsImage.ImageIndex = 13
    OptionsImage.Images = cxImageList1
    TabOrder = 2
    OnClick = BTN_ConnectClick
  end
  object LB_Info: TcxListBox
    Left = 8
    Top = 164
    Width = 313
    Height = 185
    ExtendedSelect = False
    ItemHeight = 13
    Style.LookAndFeel.NativeStyle = False
    StyleDisabled.LookAndFeel.NativeStyle = False
    StyleFocused.LookAndFeel.NativeStyle = False
    StyleHot.LookAndFeel.NativeStyle = False
    TabOrder = 3
  end
  object BTN_Oeffnen: TcxButton
    Left = 63
    Top = 8
    Width = 82
    Height = 25
    Caption = 'Öffnen'
    LookAndFeel.NativeStyle = False
    OptionsImage.ImageIndex = 12
    OptionsImage.Images = cxImageList1
    TabOrder = 4
    OnClick = BTN_OeffnenClick
  end
  object OD: TOpenDialog
    DefaultExt = '*.PPRO'
    Filter = 'Torvik Projekt|*.PPRO'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Title = 'Torvik Projekt öffnen'
  end
  object BTN_Flash: TcxButton
    Left = 239
    Top = 8
    Width = 82
    Height = 25
    Caption = 'Flash'
    Enabled = False
    LookAndFeel.NativeStyle = False
    OptionsImage.ImageIndex = 14
    OptionsImage.Images = cxImageList1
    TabOrder = 5
    OnClick = BTN_FlashClick
  end
  object PB: TcxProgressBar
    Left = 8
    Top = 352
    ParentFont = False
    Properties.BeginColor = 33023
    Properties.PeakValue = 76.000000000000000000
    Properties.SolidTextColor = True
    Style.Font.Charset = DEFAULT_CHARSET
    Style.Font.Color = clBlack
    Style.Font.Height = -11
    Style.Font.Name = 'Tahoma'
    Style.Font.Style = []
    Style.LookAndFeel.NativeStyle = False
    Style.IsFontAssigned = True
    StyleDisabled.LookAndFeel.NativeStyle = False
    StyleFocused.LookAndFeel.NativeStyle = False
    StyleHot.LookAndFeel.NativeStyle = False
    TabOrder = 6
    Width = 313
  end
  object cxGroupBox2: TcxGroupBox
    Left = 215
    Top = 39
    Caption = 'Optionen'
    Style.LookAndFeel.NativeStyle = False
    StyleDisabled.LookAndFeel.NativeStyle = False
    StyleFocused.LookAndFeel.NativeStyle = False
    StyleHot.LookAndFeel.NativeStyle = False
    TabOrder = 7
    Height = 89
    Width = 106
    object CB_Flash: TcxCheckBox
      Left = 11
      Top = 18
      Caption = 'Flash'
      Enabled = False
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 0
    end
    object CB_EEprom: TcxCheckBox
      Left = 11
      Top = 37
      Caption = 'EEprom'
      Enabled = False
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 1
    end
    object CB_UserRow: TcxCheckBox
      Left = 11
      Top = 57
      Caption = 'UserRow'
      Enabled = False
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 2
      Visible = False
    end
  end
  object Running: TdxActivityIndicator
    Left = 182
    Top = 376
    Width = 133
    Height = 11
    PropertiesClassName = 'TdxActivityIndicatorHorizontalDotsProperties'
    Properties.AnimationTime = 3000
    Properties.DotColor = -32768
    Properties.DotSize = 5
    LookAndFeel.NativeStyle = False
    TabOrder = 8
  end
  object cxGroupBox3: TcxGroupBox
    Left = 8
    Top = 127
    Style.LookAndFeel.NativeStyle = False
    StyleDisabled.LookAndFeel.NativeStyle = False
    StyleFocused.LookAndFeel.NativeStyle = False
    StyleHot.LookAndFeel.NativeStyle = False
    TabOrder = 9
    Height = 34
    Width = 313
    object CB_EndAfterFlash: TcxCheckBox
      Left = 3
      Top = 9
      Caption = 'Nach erfolgreichem Flashen schließen'
      Style.LookAndFeel.NativeStyle = False
      StyleDisabled.LookAndFeel.NativeStyle = False
      StyleFocused.LookAndFeel.NativeStyle = False
      StyleHot.LookAndFeel.NativeStyle = False
      TabOrder = 0
    end
  end
  object Timer1: TTimer
    OnTimer = Timer1Timer
  end
  object RzVersionInfo1: TRzVersionInfo
  end
  object RzVersionInfoStatus2: TRzVersionInfoStatus
    Left = 109
    Top = 371
    FrameStyle = fsNone
    Field = vifCompanyName
    VersionInfo = RzVersionInfo1
  end
  object RzVersionInfoStatus1: TRzVersionInfoStatus
    Left = 8
    Top = 371
    Width = 101
    FrameStyle = fsNone
    FieldLabel = 'Version:'
    FieldLabelColor = clBlack
    Field = vifFileVersion
    VersionInfo = RzVersionInfo1
  end
  object Store: TRzPropertyStore
    Properties = <
      item
        Component = CB_Baudrate
        PropertyName = 'Text'
      end
      item
        Component = CB_EndAfterFlash
        PropertyName = 'Checked'
      end>
    RegIniFile = RzRegIniFile1
    Section = 'Skarnivel configuration'
  end
  object RzRegIniFile1: TRzRegIniFile
    Path = '.\Skarnivel.cfg'
  end
end
