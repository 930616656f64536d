#!/usr/bin/env python3
"""Writes the parameter editor's language files from the product data.

- data/Language/Knobset/<L>/<L>.lng: the editor's string table (ids 200..292)
- data/Language/Knobset/<L>/ParameterRef-RK_905<L>.rtx: the reference text of
  every T8 parameter, entry k (counting from 1) for parameter number k - 1,
  each between "{{{" and "}}}", built from data/rk_905.par and the T8
  description file of the language.

Run from the repository root after changing the product data or the texts:
    python3 scripts/gen-knobset-lang.py
"""
import os
import re

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
DATA = os.path.join(ROOT, "data")
LANGS = ("ENG", "CHT", "CHS")

# id: (english, traditional, simplified). English matches the compiled-in table.
STRINGS = {
    200: ("Select the source of parameter value would load from:", "請選擇參數值的來源:", "请选择参数值的来源:"),
    201: ("FILE        (load value from exist file)", "檔案        (從現有檔案載入)", "文件        (从现有文件载入)"),
    202: ("Default   (load factory default value)", "預設值   (載入出廠預設值)", "默认值   (载入出厂默认值)"),
    203: ("Reading parameters from drive...", "正在從驅動器讀取參數...", "正在从驱动器读取参数..."),
    204: ("Read all parameters success.", "讀取全部參數成功。", "读取全部参数成功。"),
    205: ("Read parameters failed.", "讀取參數失敗。", "读取参数失败。"),
    206: ("Parameter Editor", "參數編輯器", "参数编辑器"),
    207: ("Parameter Editor (Off-Line)", "參數編輯器 (離線)", "参数编辑器 (离线)"),
    208: ("Transfer parameters to drive success.", "參數傳送到驅動器成功。", "参数传送到驱动器成功。"),
    209: ("Transfer parameters failed.", "參數傳送失敗。", "参数传送失败。"),
    210: ("Write parameters to EEPROM success.", "參數寫入 EEPROM 成功。", "参数写入 EEPROM 成功。"),
    211: ("Write parameters failed.", "參數寫入失敗。", "参数写入失败。"),
    213: ("Transfer parameters to drive...", "正在傳送參數到驅動器...", "正在传送参数到驱动器..."),
    214: ("Parameters would be saved to drive's EEPROM, would you like to continue?",
          "參數將儲存到驅動器的 EEPROM，是否繼續?", "参数将保存到驱动器的 EEPROM，是否继续?"),
    215: ("This action will reset all parameters to factory default settings, \\nAre you sure?",
          "此動作會將全部參數恢復為出廠預設值，\\n確定嗎?", "此操作会将全部参数恢复为出厂默认值，\\n确定吗?"),
    216: ("Write drive EEPROM...", "正在寫入驅動器 EEPROM...", "正在写入驱动器 EEPROM..."),
    217: ("Initializing drive ...", "正在初始化驅動器 ...", "正在初始化驱动器 ..."),
    218: ("Reset all parameters to factory default value success.", "全部參數已恢復出廠預設值。", "全部参数已恢复出厂默认值。"),
    219: ("Reset parameters failed.", "參數初始化失敗。", "参数初始化失败。"),
    220: ("Reset parameters failed. \\r\\nCheck the drive at servo off status or the control power r,t voltage correctly.",
          "參數初始化失敗。\\r\\n請確認驅動器在伺服關閉狀態，以及控制電源 r,t 電壓正確。",
          "参数初始化失败。\\r\\n请确认驱动器在伺服关闭状态，以及控制电源 r,t 电压正确。"),
    223: ("Knobsetor", "Knobsetor", "Knobsetor"),
    224: ("Unsupported StdFile, version: ", "不支援的標準檔，版本: ", "不支持的标准文件，版本: "),
    225: ("Path: ", "路徑: ", "路径: "),
    226: ("active ver: ", "使用版本: ", "使用版本: "),
    227: ("Initialize", "初始化", "初始化"),
    228: ("Open File", "開啟檔案", "打开文件"),
    229: ("Save File", "儲存檔案", "保存文件"),
    230: ("Read Drive", "讀取驅動器", "读取驱动器"),
    231: ("Trans to Drv.", "傳送到驅動器", "传送到驱动器"),
    232: ("Write EEPROM", "寫入 EEPROM", "写入 EEPROM"),
    233: ("Initialize", "初始化", "初始化"),
    234: ("Export", "匯出", "导出"),
    235: ("File", "檔案", "文件"),
    236: ("Drive", "驅動器", "驱动器"),
    237: ("Normal", "一般", "一般"),
    238: ("Reboot", "重新啟動", "重新启动"),
    239: ("ReadOnly", "唯讀", "只读"),
    240: ("Reserved", "保留", "保留"),
    241: ("  Group) All", "  群組) 全部", "  群组) 全部"),
    242: (" 0) Basic", " 0) 基本", " 0) 基本"),
    243: (" 1) Gain", " 1) 增益", " 1) 增益"),
    244: (" 2) Damping", " 2) 制振", " 2) 制振"),
    245: (" 3) V/T/F Ctrl.", " 3) 速度/轉矩/全閉環", " 3) 速度/转矩/全闭环"),
    246: (" 4) I/O", " 4) 輸入輸出", " 4) 输入输出"),
    247: (" 5) Enhance", " 5) 擴充設定", " 5) 扩展设定"),
    248: (" 6) Special", " 6) 特殊設定", " 6) 特殊设定"),
    249: (" 9) Linear", " 9) 線性", " 9) 直线"),
    250: (" A) Extend", " A) 延伸", " A) 延伸"),
    251: (" F) Factory", " F) 原廠", " F) 原厂"),
    252: ("Pr No.", "參數編號", "参数编号"),
    253: ("Name", "名稱", "名称"),
    254: ("Min", "最小值", "最小值"),
    255: ("Max", "最大值", "最大值"),
    256: ("Unit", "單位", "单位"),
    257: ("Default value", "預設值", "默认值"),
    258: ("Setup value", "設定值", "设定值"),
    259: ("Confirm", "確定", "确定"),
    260: ("Cancel", "取消", "取消"),
    271: ("Unit", "單位", "单位"),
    272: ("Setup", "設定", "设定"),
    273: ("Setup", "設定", "设定"),
    274: ("PrNo not exist", "參數編號不存在", "参数编号不存在"),
    275: ("Select", "選擇", "选择"),
    276: ("Comm", "通訊", "通讯"),
    277: ("Edit parameter", "編輯參數", "编辑参数"),
    278: ("It's need reading parameter from drive before edit value, would you like to Retry refresh parameters?",
          "編輯數值前需要先從驅動器讀取參數，是否重新讀取參數?", "编辑数值前需要先从驱动器读取参数，是否重新读取参数?"),
    283: ("Software Version:%s\\nExtern File:%s\\nDifferent version can not be opened, please try again.",
          "軟體版本:%s\\n外部檔案:%s\\n版本不同無法開啟，請重試。", "软件版本:%s\\n外部文件:%s\\n版本不同无法打开，请重试。"),
    284: ("File1:", "檔案1:", "文件1:"),
    285: ("File2:", "檔案2:", "文件2:"),
    288: ("File not selected", "未選擇檔案", "未选择文件"),
    289: ("Connection software:", "連線軟體:", "连接软件:"),
    290: ("\\nThe connection software is different from the external file model and cannot be compared.",
          "\\n連線軟體與外部檔案的機種不同，無法比較。", "\\n连接软件与外部文件的机种不同，无法比较。"),
    291: ("Please check the drive value limit.", "請檢查驅動器的數值限制。", "请检查驱动器的数值限制。"),
    292: ("Access parameters may be abnormal when the connection fails, would you like to Retry refresh parameters?",
          "連線失敗時存取參數可能異常，是否重新讀取參數?", "连接失败时访问参数可能异常，是否重新读取参数?"),
    300: ("%s\nis not a CSV file. Replace it with the export anyway?", "%s\n不是 CSV 檔案。仍要以匯出內容取代它嗎?", "%s\n不是 CSV 文件。仍要以导出内容替换它吗?"),
    301: ("%s\nis not a parameter value file (.tw). Replace it anyway?", "%s\n不是參數值檔案 (.tw)。仍要取代它嗎?", "%s\n不是参数值文件 (.tw)。仍要替换它吗?"),
    303: ("Export page", "匯出本頁", "导出本页"),
    304: ("Compare files", "比較檔案", "比较文件"),
    305: ("Export modified parameter only", "只匯出已修改的參數", "只导出已修改的参数"),
    306: ("File: [%s] saved.", "檔案: [%s] 已儲存。", "文件: [%s] 已保存。"),
    307: ("Cannot create file: %s", "無法建立檔案: %s", "无法创建文件: %s"),
    308: ("Range:", "範圍:", "范围:"),
    309: ("Default:", "預設值:", "默认值:"),
    310: ("Takes effect after the drive restarts.", "驅動器重新啟動後生效。", "驱动器重新启动后生效。"),
    311: ("The setup value over the min,max range.", "設定值超出最小值與最大值的範圍。", "设定值超出最小值与最大值的范围。"),
    312: ("Message", "訊息", "消息"),
    313: ("The communication is in busy state: %s", "通訊忙碌中: %s", "通讯忙碌中: %s"),
    314: ("Comment", "備註", "备注"),
    315: ("The parameters hold changes that are neither saved to a file nor transferred to the drive. Save them to a file?", "參數有尚未儲存到檔案、也未傳送到驅動器的變更。要儲存到檔案嗎?", "参数有尚未保存到文件、也未传送到驱动器的更改。要保存到文件吗?"),
    316: ("Not in drive", "與驅動器不同", "与驱动器不同"),
    317: ("Find:", "搜尋:", "搜索:"),
    318: ("Number or part of the name", "編號或名稱的一部分", "编号或名称的一部分"),
}

LANGUAGE_NAMES = ("English", "繁體中文", "简体中文")

# Reference text templates per language.
REF = {
    "number": ("Parameter {n} (register 0x{a:03x})", "參數 {n} (暫存器 0x{a:03x})", "参数 {n} (寄存器 0x{a:03x})"),
    "range": ("Setting range: {lo} ~ {hi} {unit}", "設定範圍: {lo} ~ {hi} {unit}", "设定范围: {lo} ~ {hi} {unit}"),
    "default": ("Factory default: {d}", "出廠預設值: {d}", "出厂默认值: {d}"),
    "reboot": ("Takes effect after the drive is powered on again (save it to EEPROM first).",
               "需儲存到 EEPROM 並重新上電後才生效。", "需保存到 EEPROM 并重新上电后才生效。"),
    "online": ("Takes effect as soon as it is written.", "寫入後立即生效。", "写入后立即生效。"),
    "reserved": ("Reserved: do not change this parameter.", "保留參數: 請勿變更。", "保留参数: 请勿变更。"),
    "dio": ("Hidden in the list while Pr.002 is above 5 (digital I/O not in use).",
            "當 Pr.002 大於 5 時 (未使用數位 I/O)，此參數不顯示在列表中。",
            "当 Pr.002 大于 5 时 (未使用数字 I/O)，此参数不显示在列表中。"),
    "wide": ("32-bit value in two registers (low word first).", "32 位元數值，佔兩個暫存器 (低字在前)。",
             "32 位数值，占两个寄存器 (低字在前)。"),
    "options": ("Settings:", "設定值說明:", "设定值说明:"),
}


def sections(path):
    """Section name -> {key: value} of a product-data file (first occurrence)."""
    result, current = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            s = line.strip()
            if s.startswith("["):
                name = s[1:-1]
                current = None if name in result else result.setdefault(name, {})
            elif current is not None and "=" in line and not s.startswith(";"):
                key, value = line.split("=", 1)
                current.setdefault(key.strip(), value)
    return result


def write_lng(lang_index, lang):
    lines = ["; Parameter editor (Knobset), %s" % LANGUAGE_NAMES[lang_index], "[StringTable]"]
    for sid in sorted(STRINGS):
        lines.append("%d=%s" % (sid, STRINGS[sid][lang_index]))
    path = os.path.join(DATA, "Language", "Knobset", lang, lang + ".lng")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def write_rtx(lang_index, lang):
    par = sections(os.path.join(DATA, "rk_905.par"))
    dsc = sections(os.path.join(DATA, "Language", "Knobset", lang, "rk_905%s.dsc" % lang))
    t = {k: v[lang_index] for k, v in REF.items()}
    out = []
    for n in range(168):
        p = par.get("Pr%03d" % n)
        assert p is not None, "rk_905.par lacks parameter %d" % n
        d = dsc.get("Pr%03d" % n, {})
        address = int(p.get("Address", "0"), 0)
        name = d.get("name", "-")
        text = [name, t["number"].format(n=n, a=address), ""]
        reserved = int(p.get("reserved", "1")) & 1
        if reserved:
            text.append(t["reserved"])
        else:
            unit = p.get("unit", "-")
            text.append(t["range"].format(lo=p.get("min", "0"), hi=p.get("max", "0"),
                                          unit="" if unit == "-" else unit).rstrip())
            text.append(t["default"].format(d=p.get("default", "0")))
            text.append(t["reboot"] if int(p.get("reboot", "0")) & 1 else t["online"])
            if 200 <= address <= 230 or address in (1201, 1217, 1219):
                text.append(t["wide"])
            if int(p.get("Dio", "0")) & 1:
                text.append(t["dio"])
            items = [d["item%d" % i] for i in range(10) if "item%d" % i in d]
            if items:
                text += ["", t["options"]] + items
        assert "}}}" not in "\n".join(text) and "{{{" not in "\n".join(text)
        out.append("{{{%s}}}" % "\n".join(text))
    path = os.path.join(DATA, "Language", "Knobset", lang, "ParameterRef-RK_905%s.rtx" % lang)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


def main():
    for i, lang in enumerate(LANGS):
        write_lng(i, lang)
        write_rtx(i, lang)


if __name__ == "__main__":
    main()
