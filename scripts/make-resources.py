#!/usr/bin/env python3
"""Writes the built-in strings files (UTF-16LE with BOM, CR LF) and draws the
OEM logo bitmaps with ImageMagick. The outputs are committed; run this again
after changing a text or a brand below."""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "resources")

# Row: (name, logo resource, url, colour BBGGRR, titles (en, cn, cht))
BRANDS = {
    1: ("Tessaron", "BM_LOGO_TESSARON", "http://www.tessaron.example/", "800080",
        ("Welcome to use Tessaron printers", "欢迎使用Tessaron打印机", "歡迎使用Tessaron印表機")),
    2: ("Norvik", "BM_LOGO_NORVIK", "http://www.norvik.example/", "804000",
        ("Norvik printing solutions", "Norvik打印解决方案", "Norvik列印解決方案")),
    3: ("Altabird", "BM_LOGO_ALTABIRD", "http://www.altabird.example/", "006600",
        ("Altabird office printers", "Altabird办公打印机", "Altabird辦公印表機")),
    4: ("Quillon", "BM_LOGO_QUILLON", "http://www.quillon.example/", "0000A0",
        ("Quillon receipt printers", "Quillon票据打印机", "Quillon票據印表機")),
    5: ("Meridex", "BM_LOGO_MERIDEX", "http://www.meridex.example/", "8B4513",
        ("Meridex flatbed printers", "Meridex平推打印机", "Meridex平推印表機")),
    6: ("Corvanta", "BM_LOGO_CORVANTA", "http://www.corvanta.example/", "336699",
        ("Corvanta business printers", "Corvanta商用打印机", "Corvanta商用印表機")),
    7: ("Lumipress", "BM_LOGO_LUMIPRESS", "http://www.lumipress.example/", "996600",
        ("Lumipress printers", "Lumipress打印机", "Lumipress印表機")),
    8: ("Stratoline", "BM_LOGO_STRATOLINE", "http://www.stratoline.example/", "660066",
        ("Stratoline dot-matrix printers", "Stratoline针式打印机", "Stratoline點陣式印表機")),
    9: ("Vellumcraft", "BM_LOGO_VELLUMCRAFT", "http://www.vellumcraft.example/", "2F4F4F",
        ("Vellumcraft passbook printers", "Vellumcraft存折打印机", "Vellumcraft存摺印表機")),
    10: ("Kestrel Office", "BM_LOGO_KESTREL", "http://www.kestrel-office.example/", "004080",
         ("Kestrel Office printers", "Kestrel Office打印机", "Kestrel Office印表機")),
    11: ("Orinox", "BM_LOGO_ORINOX", "http://www.orinox.example/", "800000",
         ("Orinox label printers", "Orinox标签打印机", "Orinox標籤印表機")),
    12: ("Pallado", "BM_LOGO_PALLADO", "http://www.pallado.example/", "008080",
         ("Pallado printers", "Pallado打印机", "Pallado印表機")),
    13: ("Zentrik", "BM_LOGO_ZENTRIK", "http://www.zentrik.example/", "404040",
         ("Zentrik invoice printers", "Zentrik发票打印机", "Zentrik發票印表機")),
    14: ("Brightmark", "BM_LOGO_BRIGHTMARK", "http://www.brightmark.example/", "0060C0",
         ("Brightmark printers", "Brightmark打印机", "Brightmark印表機")),
    15: ("Halcyra", "BM_LOGO_HALCYRA", "http://www.halcyra.example/", "A05000",
         ("Halcyra flatbed printers", "Halcyra平推打印机", "Halcyra平推印表機")),
}

LANGS = ("EN", "CN", "CHT")
TITLES = {"EN": "Printer Driver Setup", "CN": "打印机驱动程序安装", "CHT": "印表機驅動程式安裝"}

CONTROLS = [
    ("lblReadGuide", "Install Guide", "安装指南", "安裝指南"),
    ("lblReadQuickGuide", "Quick Guide", "快速安装指南", "快速安裝指南"),
    ("lblReadManual", "User's manual", "用户手册", "用戶手冊"),
    ("grpPrinters", "Select printer :", "选择打印机：", "選擇印表機："),
    ("btnStart", "Install", "开始安装", "開始安裝"),
    ("btnExit", "Exit", "退出", "退出"),
    ("edtInfos", "Hints :", "提示信息：", "提示資訊："),
]

DIALOG = [
    ("Installing", "Installing", "正在安装", "正在安裝"),
    ("InstallEnd", "Install end", "安装结束", "安裝結束"),
    ("Loading", "Loading", "正在加载", "正在載入"),
    ("NoticeTitle", "Notice", "注意", "注意"),
    ("InstallBeforeNeedUninstall",
     r"There already had an old version driver, \r\nand you must delete the old driver to continue. Are you sure to delete it?",
     "检测到已安装旧版驱动程序，必须删除这些驱动程序才能继续，是否执行删除？",
     "檢測到已安裝舊版驅動程式，必須刪除這些驅動程式才能繼續，是否執行刪除？"),
    ("BeforeInstallPrompt",
     r"Please use the cable to connect the printer, \r\npower on the printer and wait until it is already turned on and then click “Yes”.",
     r"请使用打印电缆连接好打印机，\r\n打开打印机电源，待打印机开机稳定后单击“是”。",
     r"請使用列印電纜連線好印表機，\r\n打開印表機電源，待印表機開機穩定後按一下“是”。"),
    ("ClickInstallToStart", 'Please click "Install" button.', "请单击 开始安装 按钮。", "請按一下 開始安裝 按鈕。"),
    ("SelectAPrinterDriver", "left click the mouse to select a driver.", "请点击鼠标左键选择一个驱动程序。",
     "請點擊滑鼠左鍵選擇一個驅動程式。"),
    ("ExistSamePrinterAndUpdate",
     r"Already has the printer which has the same name! \r\nYou can update the printer driver, are you sure to execute this operation immediately?",
     r"已存在相同名称的打印机！\r\n您可以更新此打印机驱动程序，是否立刻执行此更新操作？",
     r"已存在相同名稱的印表機！\r\n您可以更新此印表機驅動程式，是否立刻執行此更新操作？"),
    ("DeletePrinterIsPrinting", "The specific printer still has print job, please try again later!",
     "指定的打印机还有打印任务，请稍后再试！", "指定的印表機還有列印任務，請稍後再試！"),
    ("InstallSuccessStr", "Printer driver (%s) has been successfully installed to print port %s.",
     "打印机驱动程序（%s）已成功安装到打印端口%s。", "印表機驅動程式（%s）已成功安裝到連接埠%s。"),
    ("InstallCancelStr", "Cancel during the installation process.", "安装过程中被取消。", "安裝過程中被取消。"),
    ("InstallFailStr", r"Printer driver installation process failed: \r\n%s", r"打印机驱动程序安装过程中出错：\r\n%s",
     r"印表機驅動程式安裝過程中出錯：\r\n%s"),
    ("InstallFailCode", "Printer driver installation process failed (code: 0x%.8x)",
     "打印机驱动程序安装过程中出错(代码：0x%.8x)", "印表機驅動程式安裝過程中出錯(代碼：0x%.8x)"),
    ("InstallFailReasonUnknow", "For some unknown reasons, the printer driver installation process failed!",
     "由于未知原因，打印机驱动程序安装过程中出错！", "由於未知原因，印表機驅動程式安裝過程中出錯！"),
    ("RestartPrompt", "Note: Some components would take effects only after restarting the computer.",
     "注意：部分组件需要在你重新启动电脑后才能生效！", "注意：部分元件需要在你重新開機電腦後才能生效！"),
    ("InstallOnline",
     r'Online installation failed! \r\n\r\nIf you want to retry it, please connect %s port and restart the printer and then click "Yes"! \r\n\r\nSelect "No" to install the driver in offline mode, printer driver port is set to LPT1:, please according to the actual needs to set the print port (such as USB port) \r\n\r\n select "Cancel" to cancel this installation.',
     r"联机安装失败!\r\n\r\n如果需要重试请接上%s端口并重新开机，然后选择“是”！\r\n\r\n选择“否”将脱机安装驱动程序，打印机驱动程序端口被设置为LPT1:，请根据实际需要设置打印端口（如USB口）；\r\n\r\n选择“取消”将取消本次安装。",
     r"連線安裝失敗!\r\n\r\n如果需要重試請接上%s埠並重新開機，然後選擇“是”！\r\n\r\n選擇“否”將離線安裝驅動程式，印表機驅動程式埠被設置為LPT1:，請根據實際需要設置列印埠（如USB）；\r\n\r\n選擇“取消”將取消本次安裝。"),
    ("InstallRetry", "Please install it later!", "请稍后再安装！", "請稍後再安裝！"),
    ("CMDParameterError", "The specified command line parameters are invalid!", "指定的命令行参数不正确！",
     "指定的命令列參數不正確！"),
    ("BeforeUnInstallPrompt", r"Are you sure to delete the following driver? \r\n", r"确定需要删除以下驱动程序吗？\r\n",
     r"確定需要刪除以下驅動程式嗎？\r\n"),
    ("DeletePrinterSucceed", "Delete the specified printer successfully.", "已成功删除指定的打印机。",
     "已成功刪除指定的印表機。"),
    ("DeletePrinterError",
     "Fail to delete the printer, please close the software which occupies printer driver and then try it again!",
     "删除打印机出错，请关闭占用打印机驱动程序的软件后重试！", "刪除印表機出錯，請關閉佔用印表機驅動程式的軟體後重試！"),
    ("DeletePrinterDriverError",
     "The printer has been deleted, as some driver files are occupied by system, so they would be deleted after the system is restarted!",
     "打印机已删除，由于驱动程序部分文件被系统占用，驱动文件将在系统重启后删除！",
     "印表機已刪除，由於驅動程式部分檔被系統佔用，驅動檔將在系統重啟後刪除！"),
    ("RestartWindowsimmediately",
     'Whether to restart the printer immediately? (If you choose "No", please restart the system manually.)',
     "是否马上重新启动电脑？（如果选择“否”，请手动重新启动系统）",
     "是否馬上重新啟動電腦？（如果選擇“否”，請手動重新開機系統）"),
]

# Texts the program shows besides the documented ones: (id, key in [DialogText]
# or None for a text needed before the strings file is read, English,
# Simplified Chinese, Traditional Chinese). The strings files get the keyed
# ones; every one goes into the compiled-in table sysutil/UiTextsTable.inc,
# which the installer uses before its strings file is read and the host uses
# throughout. A text that is a documented literal keeps its words in its own
# language.
UI_TEXTS = [
    ("StartTempName", None, "Cannot reserve a temporary name in %s", "无法在 %s 中保留临时文件名",
     "無法在 %s 中保留暫存檔名"),
    ("StartCreateFolder", None, "Cannot create the folder %s", "无法创建文件夹 %s", "無法建立資料夾 %s"),
    ("StartResourceMissing", None, "The program lacks its resource %s.", "程序缺少资源 %s。", "程式缺少資源 %s。"),
    ("StartResourceDamaged", None, "The program's resource %s is damaged.", "程序的资源 %s 已损坏。",
     "程式的資源 %s 已損毀。"),
    ("StartWriteFile", None, "Cannot write the file %s", "无法写入文件 %s", "無法寫入檔案 %s"),
    ("SetupIniMissing", None, "The specified configuration file (%s) does not exist. The program will exit!",
     "指定的配置文件（%s）不存在，程序将退出！", "指定的配置文件（%s）不存在，程序將退出！"),
    ("SetupIniMissingCaption", None, "Error", "出错了", "出錯了"),
    ("HostErrorCaption", None, "Error", "错误", "錯誤"),
    ("HostLoadDllFailed", None, "The DLL could not be loaded!", "装载DLL失败！", "裝載DLL失敗！"),
    ("HostLoadInst2KFailed", None, "Inst2K() could not be loaded!", "装载Inst2K()失败！", "裝載Inst2K()失敗！"),
    ("HostDetectExportMissing", None, "The DLL has no function Inst2k_IsInlineDeviceExist",
     "在DLL中查找不到函數：Inst2k_IsInlineDeviceExist", "在DLL中查找不到函數：Inst2k_IsInlineDeviceExist"),
    ("PackageNoPrinterName", "SetupIniNoPrinterName", "Error in the configuration file: the printer name is missing!",
     "配置文件出错，打印机名称不存在！", "配置檔案出錯，印表機名稱不存在！"),
    ("PackageNoHardwareId", "SetupIniNoHardwareId",
     "Error in the configuration file: no printer hardware ID is given!", "配置文件出错，没有指定打印机硬件ID！",
     "配置檔案出錯，沒有指定印表機硬體ID！"),
    ("PackageNoDriverFolder", "SetupIniNoDriverFolder",
     "Error in the configuration file: the given driver folder does not exist!",
     "配置文件出错，指定的驱动程序文件夹不存在！", "配置檔案出錯，指定的驅動程式資料夾不存在！"),
    ("PackageNoInf", "SetupIniNoInf", "Error in the configuration file: no INF file is given!",
     "配置文件出错，没有指定INF文件！", "配置檔案出錯，沒有指定INF檔案！"),
    ("PackageInfMissing", "SetupIniInfMissing", "The given INF file does not exist!", "指定的INF文件不存在！",
     "指定的INF檔案不存在！"),
    ("PackageIndexOutOfRange", "SetupIniIndexOutOfRange",
     "Model index out of range: the largest is %d, the index given is %d",
     "获取设置组的时候超出索引，最大为%d，输入为%d", "取得設定組的時候超出索引，最大為%d，輸入為%d"),
    ("PackageDefaultDescription", "DefaultFunctionDescribe", "Flatbed printer", "平推打印机", "平推印表機"),
    ("SearchingTitle", "SearchingTitle", "Searching", "正在搜索", "正在搜尋"),
    ("SearchingText", "SearchingText", "Searching for a connected printer ...", "正在搜索联机信息 ...",
     "正在搜尋連線資訊 ..."),
    ("SearchingNotFound", "SearchingNotFound",
     r"No connected printer was found. Please switch the printer off and on again.\r\n"
     r"If you do not need to print through the USB port,\r\nplease just click the “Continue” button.",
     r"没有找到联机信息，请重新打开打印机。\r\n如果你不需要使用USB接口进行打印，\r\n请直接单击“继续安装”按钮即可。",
     r"沒有找到連線資訊，請重新打開印表機。\r\n如果你不需要使用USB介面進行列印，\r\n請直接按一下“繼續安裝”按鈕即可。"),
    ("SearchingReSearch", "SearchingReSearch", "&Retry the search", "重新搜索(&R)", "重新搜尋(&R)"),
    ("SearchingContinue", "SearchingContinue", "&Continue", "继续安装(&C)", "繼續安裝(&C)"),
    ("BufferFolderName", "BufferFolderName", "\"%s\" cannot be used as a folder name for the driver files.",
     "“%s”不能用作驱动程序文件的文件夹名称。", "“%s”不能用作驅動程式檔案的資料夾名稱。"),
    ("BufferNameInside", "BufferNameInside", "\"%s\" does not name a file inside the driver folder.",
     "“%s”不是驱动程序文件夹中的文件。", "“%s”不是驅動程式資料夾中的檔案。"),
    ("BufferCreateFolder", "BufferCreateFolder", "The folder \"%s\" cannot be created.", "无法创建文件夹“%s”。",
     "無法建立資料夾“%s”。"),
    ("BufferReadFolder", "BufferReadFolder", "The folder \"%s\" cannot be read.", "无法读取文件夹“%s”。",
     "無法讀取資料夾“%s”。"),
    ("BufferCopyFile", "BufferCopyFile", "The file \"%s\" cannot be copied to \"%s\".", "无法将文件“%s”复制到“%s”。",
     "無法將檔案“%s”複製到“%s”。"),
    ("BufferReadFile", "BufferReadFile", "The file \"%s\" cannot be read.", "无法读取文件“%s”。", "無法讀取檔案“%s”。"),
    ("BufferReplaceFolder", "BufferReplaceFolder", "The folder \"%s\" cannot be replaced.", "无法替换文件夹“%s”。",
     "無法取代資料夾“%s”。"),
    ("BufferIntoItself", "BufferIntoItself", "The driver folder \"%s\" cannot be copied into \"%s\".",
     "无法将驱动程序文件夹“%s”复制到“%s”中。", "無法將驅動程式資料夾“%s”複製到“%s”中。"),
    ("RecordLine", "InstallRecord", "The record of this installation: %s", "本次安装的记录：%s", "本次安裝的記錄：%s"),
    ("HostNotStarted", "HostNotStarted", "The 64-bit install program %s could not be started: %s",
     "无法启动64位安装程序 %s：%s", "無法啟動64位元安裝程式 %s：%s"),
    ("PrintUINoPrinter", "PrintUINoPrinter", "The Windows print UI added no printer (exit code %s).",
     "Windows 打印界面没有添加打印机（退出代码 %s）。", "Windows 列印介面沒有新增印表機（結束代碼 %s）。"),
    ("PrintUIOutput", "PrintUIOutput", "It wrote: %s", "其输出：%s", "其輸出：%s"),
    ("ErrorTitle", "ErrorTitle", "Error", "错误", "錯誤"),
    ("DeleteDriverNotScheduled", "DeleteDriverNotScheduled",
     "The printer has been deleted. Some driver files are in use by the system, and their removal after a restart "
     "could not be arranged: please delete the old driver later in the printer settings.",
     "打印机已删除。驱动程序部分文件被系统占用，且无法安排在重启后删除：请稍后在打印机设置中删除旧驱动程序。",
     "印表機已刪除。驅動程式部分檔案被系統佔用，且無法安排在重新開機後刪除：請稍後在印表機設定中刪除舊驅動程式。"),
    ("BufferNoProgramFiles", "BufferNoProgramFiles", "The Program Files folder cannot be found: %s",
     "找不到 Program Files 文件夹：%s", "找不到 Program Files 資料夾：%s"),
    ("InfNotRegistered", "InfNotRegistered", "The INF file %s could not be registered with the system.",
     "无法向系统注册 INF 文件 %s。", "無法向系統註冊 INF 檔案 %s。"),
    ("NoQueueAfterSuccess", "NoQueueAfterSuccess",
     "The installation reported success, but no printer of the model %s can be found.",
     "安装报告成功，但找不到型号 %s 的打印机。", "安裝報告成功，但找不到型號 %s 的印表機。"),
    ("BufferFolderInUse", "BufferFolderInUse",
     r'The folder "%s" cannot be replaced: files in it are in use by another program.\r\nClose that program and install again. Nothing has been changed.',
     r"文件夹“%s”无法替换：其中的文件正被其他程序使用。\r\n请关闭该程序后重新安装。未做任何更改。",
     r"資料夾“%s”無法替換：其中的檔案正被其他程式使用。\r\n請關閉該程式後重新安裝。未做任何變更。"),
    ("TextNotInCodePage", "TextNotInCodePage",
     "\"%s\" cannot be written in this system's language for non-Unicode programs, so the driver cannot be installed with it. Nothing has been changed.",
     "“%s”无法用本系统的非 Unicode 程序语言表示，因此无法用它安装驱动程序。未做任何更改。",
     "“%s”無法用本系統的非 Unicode 程式語言表示，因此無法用它安裝驅動程式。未做任何變更。"),
    ("PackageFileMissing", "PackageFileMissing", "The file \"%s\" of the driver package cannot be found. Nothing has been changed.",
     "找不到驱动程序包中的文件“%s”。未做任何更改。", "找不到驅動程式套件中的檔案“%s”。未做任何變更。"),
    ("PackageFolderMissing", "PackageFolderMissing", "The folder \"%s\" of the driver package cannot be found. Nothing has been changed.",
     "找不到驱动程序包中的文件夹“%s”。未做任何更改。", "找不到驅動程式套件中的資料夾“%s”。未做任何變更。"),
    ("CmdUnknownModel", "CmdUnknownModel", "The driver package has no printer model named \"%s\".",
     "驱动程序包中没有名为“%s”的打印机型号。", "驅動程式套件中沒有名為“%s”的印表機型號。"),
    ("PortMissing", "PortMissing", "The port \"%s\" does not exist on this computer. Nothing has been changed.",
     "此计算机上不存在端口“%s”。未做任何更改。", "此電腦上不存在連接埠“%s”。未做任何變更。"),
    ("CmdUsage", None,
     r'DriverSetup.exe [/quiet | /passive] [/model "<model>"] [/port <port>] [/log "<file>"]\r\n'
     r'DriverSetup.exe [/quiet | /passive] /uninstall /model "<model>" [/log "<file>"]\r\n'
     r'DriverSetup.exe /list\r\nDriverSetup.exe /check ["<package folder>"]\r\n\r\n'
     r'/quiet      no window and no questions (needs /model)\r\n'
     r'/passive    the window shows the progress and asks nothing (needs /model)\r\n'
     r'/model      the printer model as /list names it\r\n'
     r'/port       install on this port without looking for the printer\r\n'
     r"/uninstall  remove the model's printers, driver and files\r\n"
     r'/log        write the install record to this file\r\n'
     r'/list       list the models of the package\r\n\r\n'
     r'Exit codes: 0 done, 3010 done (restart needed), 1641 restart started, 1618 another installation is running, '
     r'1602 cancelled, 1603 failed, 1639 invalid command line.',
     r'DriverSetup.exe [/quiet | /passive] [/model "<型号>"] [/port <端口>] [/log "<文件>"]\r\n'
     r'DriverSetup.exe [/quiet | /passive] /uninstall /model "<型号>" [/log "<文件>"]\r\n'
     r'DriverSetup.exe /list\r\nDriverSetup.exe /check ["<驱动程序包文件夹>"]\r\n\r\n'
     r'/quiet      不显示窗口，也不提问（需要 /model）\r\n'
     r'/passive    窗口只显示进度，不提问（需要 /model）\r\n'
     r'/model      打印机型号，与 /list 列出的名称相同\r\n'
     r'/port       安装到此端口，不查找打印机\r\n'
     r'/uninstall  删除该型号的打印机、驱动程序和文件\r\n'
     r'/log        将安装记录写入此文件\r\n'
     r'/list       列出驱动程序包中的型号\r\n\r\n'
     r'退出代码：0 完成，3010 完成（需要重新启动），1641 已开始重新启动，1618 另一个安装正在进行，'
     r'1602 已取消，1603 失败，1639 命令行无效。',
     r'DriverSetup.exe [/quiet | /passive] [/model "<型號>"] [/port <連接埠>] [/log "<檔案>"]\r\n'
     r'DriverSetup.exe [/quiet | /passive] /uninstall /model "<型號>" [/log "<檔案>"]\r\n'
     r'DriverSetup.exe /list\r\nDriverSetup.exe /check ["<驅動程式套件資料夾>"]\r\n\r\n'
     r'/quiet      不顯示視窗，也不提問（需要 /model）\r\n'
     r'/passive    視窗只顯示進度，不提問（需要 /model）\r\n'
     r'/model      印表機型號，與 /list 列出的名稱相同\r\n'
     r'/port       安裝到此連接埠，不尋找印表機\r\n'
     r'/uninstall  刪除該型號的印表機、驅動程式和檔案\r\n'
     r'/log        將安裝記錄寫入此檔案\r\n'
     r'/list       列出驅動程式套件中的型號\r\n\r\n'
     r'結束代碼：0 完成，3010 完成（需要重新開機），1641 已開始重新開機，1618 另一個安裝正在進行，'
     r'1602 已取消，1603 失敗，1639 命令列無效。'),
    # Errors of the portable layers below the strings file's reader: they
    # are raised with the compiled-in text, which follows the same language
    # rule as the strings file.
    ("InvalidInteger", "InvalidInteger", "'%s' is not a valid integer value", "“%s”不是有效的整数值",
     "“%s”不是有效的整數值"),
    ("DriverVerFormat", "DriverVerFormat", "Inf DriverVer Format Error: INF1<%s> INF2<%s>",
     "INF 文件的 DriverVer 格式错误：INF1<%s> INF2<%s>", "INF 檔案的 DriverVer 格式錯誤：INF1<%s> INF2<%s>"),
    ("XcvDataMissing", "XcvDataMissing", "Function not found : winspool.drv -> XcvDataW",
     "找不到函数：winspool.drv -> XcvDataW", "找不到函數：winspool.drv -> XcvDataW"),
    ("SystemErrorCode", "SystemErrorCode", "System error %s", "系统错误 %s", "系統錯誤 %s"),
    ("OutOfMemory", "OutOfMemory", "Out of memory.", "内存不足。", "記憶體不足。"),
    ("UnexpectedError", "UnexpectedError", "Unexpected error: %s", "意外错误：%s", "意外錯誤：%s"),
    ("UnexpectedErrorBare", "UnexpectedErrorBare", "Unexpected error.", "意外错误。", "意外錯誤。"),
]

UNINSTALLER = {
    "EN": [("ProgramTitle", "Printer Driver Uninstaller"), ("btnOK", "Uninstall"), ("btnClose", "Close"),
           ("lblVersion", "Version"), ("lblCorporation", "Tessaron")],
    "CN": [("ProgramTitle", "打印机驱动程序卸载"), ("btnOK", "卸载"), ("btnClose", "关闭"),
           ("lblVersion", "版本"), ("lblCorporation", "Tessaron")],
    "CHT": [("ProgramTitle", "印表機驅動程式移除"), ("btnOK", "移除"), ("btnClose", "關閉"),
            ("lblVersion", "版本"), ("lblCorporation", "Tessaron")],
}


def strings_file(lang):
    i = LANGS.index(lang)
    out = ["[Settings]", "SetupIni=Setup.ini", "OEMCOmpanyIndex=5", "", "[OEMCOmpany]"]
    for row, (name, logo, url, color, titles) in BRANDS.items():
        if lang == "CHT" and row == 14:
            continue
        out += [f"Name.{row}={name}", f"Logo.{row}={logo}", f"LogoURL.{row}={url}",
                f"MainTitle.{row}={titles[i]}", f"Color.{row}={color}"]
    out += ["", "[Controls.Installer]", f"ProgramTitle={TITLES[lang]}"]
    out += [f"{key}={vals[i]}" for key, *vals in CONTROLS]
    out += ["", "[DialogText]"]
    out += [f"{key}={vals[i]}" for key, *vals in DIALOG]
    out += [f"{key}={vals[i]}" for _, key, *vals in UI_TEXTS if key]
    out += ["", "[Controls.UnInstaller]"]
    out += [f"{k}={v}" for k, v in UNINSTALLER[lang]]
    return "\r\n".join(out) + "\r\n"


def cxx_literal(s):
    """A UTF-16 literal of the text as the strings file holds it, with its
    escaped line breaks made real."""
    s = s.replace("\\r\\n", "\r\n")
    out = ""
    for ch in s:
        if ch == "\\" or ch == '"':
            out += "\\" + ch
        elif ch == "\r":
            out += "\\r"
        elif ch == "\n":
            out += "\\n"
        else:
            out += ch
    return 'u"' + out + '"'


def ui_texts_table():
    lines = ["// Generated by scripts/make-resources.py: the compiled-in texts, one row",
             "// per TUiText in its order: key in the strings file (empty: none), English,",
             "// Simplified Chinese, Traditional Chinese."]
    for ident, key, en, cn, cht in UI_TEXTS:
        lines.append(f"{{TUiText::{ident}, u\"{key or ''}\", {{{cxx_literal(en)}, {cxx_literal(cn)}, {cxx_literal(cht)}}}}},")
    return "\n".join(lines) + "\n"


def logo(path, name, color_bgr):
    rgb = "#" + color_bgr[4:6] + color_bgr[2:4] + color_bgr[0:2]
    subprocess.run(["convert", "-size", "194x64", "xc:white",
                    "-fill", rgb, "-draw", "roundrectangle 2,6 58,58 10,10",
                    "-fill", "white", "-font", "DejaVu-Sans-Bold", "-pointsize", "30", "-gravity", "NorthWest",
                    "-annotate", "+16+14", name[0],
                    "-fill", rgb, "-pointsize", "19" if len(name) < 11 else "15", "-annotate", "+66+20", name,
                    "-type", "palette", "-colors", "64", "-compress", "none", "BMP3:" + path], check=True)


def printer_icon(path, sizes=(16, 32, 48)):
    """A small printer: paper, body and a green lamp, drawn at 48 px and scaled."""
    base = os.path.join(RES, "printer48.png")
    subprocess.run(["convert", "-size", "48x48", "xc:none",
                    "-fill", "white", "-stroke", "#555555", "-draw", "rectangle 13,3 35,20",
                    "-stroke", "#9999aa", "-draw", "line 17,9 31,9", "-draw", "line 17,14 31,14",
                    "-fill", "#4a5a78", "-stroke", "#2a3448", "-draw", "roundrectangle 3,18 45,38 4,4",
                    "-fill", "#d8dce6", "-stroke", "#2a3448", "-draw", "rectangle 11,32 37,44",
                    "-fill", "#3fcf5a", "-stroke", "none", "-draw", "circle 38,24 40,24",
                    base], check=True)
    args = ["convert"]
    for size in sizes:
        args += ["(", base, "-resize", f"{size}x{size}", ")"]
    subprocess.run(args + [path], check=True)
    os.remove(base)


def main():
    for lang in LANGS:
        data = b"\xff\xfe" + strings_file(lang).encode("utf-16-le")
        with open(os.path.join(RES, f"Strings_{lang}.ini"), "wb") as f:
            f.write(data)
    with open(os.path.join(ROOT, "sysutil", "UiTextsTable.inc"), "w", encoding="utf-8", newline="\n") as f:
        f.write(ui_texts_table())
    with open(os.path.join(ROOT, "sysutil", "UiTextIds.inc"), "w", encoding="utf-8", newline="\n") as f:
        f.write("// Generated by scripts/make-resources.py.\n")
        f.write("".join(f"{ident},\n" for ident, *_ in UI_TEXTS))
    if "--no-logos" not in sys.argv:
        for row, (name, logo_id, url, color, titles) in BRANDS.items():
            logo(os.path.join(RES, "logos", logo_id.lower() + ".bmp"), name, color)
        printer_icon(os.path.join(RES, "DriverSetup.ico"))
        printer_icon(os.path.join(RES, "printer32.ico"), sizes=(32,))


if __name__ == "__main__":
    main()
