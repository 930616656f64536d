#!/usr/bin/env python3
"""Writes the monitor's product data shipped beside the program.

Description files under data/Language/Monitor/: Motion.dat, Status.dat,
Input Signal.dat, Output Signal.dat; per language L = ENG, CHT, CHS the
language table <L>/<L>.lng and the name files <L>/Motion<L>.dat and
<L>/Status<L>.dat (CHT/StatusCHT.dat is also the value-name file read at
start-up). Every item is a register or coil the simulated drive answers on
every model (docs/drive-registers.md, "Status block").

Run from the repository root: python3 scripts/gen-monitor-data.py
"""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
OUT = os.path.join(ROOT, "data", "Language", "Monitor")
LANGS = ("ENG", "CHT", "CHS")
BLOCK = 0x1000  # the status block, the same on every model

# name (ENG, CHT, CHS), unit, offset in the block, registers, clear, type
MOTION = (
    (("Motor speed", "馬達轉速", "电机转速"), "r/min", 0, 1, 0, 0),
    (("Speed command", "速度命令", "速度命令"), "r/min", 17, 1, 0, 0),
    (("Torque", "轉矩", "转矩"), "%", 1, 1, 0, 1),
    (("Load ratio", "負載率", "负载率"), "%", 12, 1, 0, 0),
    (("DC bus voltage", "主電路直流電壓", "主电路直流电压"), "V", 2, 1, 0, 0),
    (("Motor temperature", "馬達溫度", "电机温度"), "°C", 13, 1, 0, 0),
    (("Command pulse count", "命令脈波計數", "命令脉冲计数"), "pulse", 8, 2, 1, 0),
    (("Feedback pulse count", "回授脈波計數", "反馈脉冲计数"), "pulse", 10, 2, 1, 0),
    (("Position error", "位置誤差", "位置误差"), "pulse", 14, 2, 0, 0),
    (("Analog speed command", "類比速度命令", "模拟速度命令"), "mV", 18, 1, 0, 2),
    (("Analog torque command", "類比轉矩命令", "模拟转矩命令"), "mV", 19, 1, 0, 3),
    (("Alarm code", "警報代碼", "报警代码"), "-", 3, 1, 1, 0),
)

ALARMS = (
    ("No alarm", "無警報", "无报警"),
    ("Overvoltage", "過電壓", "过电压"),
    ("Undervoltage", "低電壓", "欠电压"),
    ("Overcurrent", "過電流", "过电流"),
    ("Overload", "過負載", "过载"),
    ("Encoder error", "編碼器異常", "编码器异常"),
    ("Excessive position error", "位置誤差過大", "位置误差过大"),
    ("Overspeed", "超速", "超速"),
    ("Motor overheat", "馬達過熱", "电机过热"),
    ("Emergency stop", "緊急停止", "紧急停止"),
)
CONTROL_MODES = (
    ("Position", "位置控制", "位置控制"),
    ("Speed", "速度控制", "速度控制"),
    ("Torque", "轉矩控制", "转矩控制"),
    ("Position / speed", "位置 / 速度切換", "位置 / 速度切换"),
    ("Position / torque", "位置 / 轉矩切換", "位置 / 转矩切换"),
    ("Speed / torque", "速度 / 轉矩切換", "速度 / 转矩切换"),
    ("Internal position", "內部位置控制", "内部位置控制"),
    ("Internal position / position", "內部位置 / 位置切換", "内部位置 / 位置切换"),
)
SERVO_STATES = (("Servo off", "伺服關閉", "伺服关闭"), ("Servo on", "伺服啟動", "伺服启动"))
FLAGS = (  # bits 0..7 of the status flag word (offset 16), also DO1..DO8
    ("Servo ready", "伺服準備完成", "伺服准备完成"),
    ("Servo on", "伺服啟動中", "伺服启动中"),
    ("Zero speed", "零速度", "零速度"),
    ("Speed reached", "速度到達", "速度到达"),
    ("In position", "定位完成", "定位完成"),
    ("Torque limiting", "轉矩限制中", "转矩限制中"),
    ("Alarm active", "警報發生中", "报警发生中"),
    ("Brake released", "煞車釋放", "制动器释放"),
)
# name (ENG, CHT, CHS), offset, value names
STATUS = (
    (("Alarm", "警報", "报警"), 3, ALARMS),
    (("Control mode", "控制模式", "控制模式"), 4, CONTROL_MODES),
    (("Servo state", "伺服狀態", "伺服状态"), 5, SERVO_STATES),
) + tuple((flag, 16, ()) for flag in FLAGS)

# Pin functions per mode: Pos, Spd, Tor, Rpm (internal speeds).
INPUTS = (
    ("SON", "SON", "SON", "SON"),
    ("ALRS", "ALRS", "ALRS", "ALRS"),
    ("PCLR", "ZCLAMP", "ZCLAMP", "SPD1"),
    ("INH", "DIR", "DIR", "SPD2"),
    ("CWL", "CWL", "CWL", "CWL"),
    ("CCWL", "CCWL", "CCWL", "CCWL"),
    ("EMG", "EMG", "EMG", "EMG"),
    ("GAIN", "GAIN", "GAIN", "GAIN"),
    ("TL", "TL", "SPDL", "TL"),
    ("ORGP", "SPD1", "TRQ1", "SPD3"),
    ("SHOM", "SPD2", "TRQ2", "DIR"),
)
OUTPUTS = (
    ("RDY", "RDY", "RDY", "RDY", "Servo ready"),
    ("SON", "SON", "SON", "SON", "Servo on"),
    ("ZSPD", "ZSPD", "ZSPD", "ZSPD", "Zero speed"),
    ("TSPD", "TSPD", "TSPD", "TSPD", "Speed reached"),
    ("INP", "INP", "INP", "INP", "In position"),
    ("TLC", "TLC", "TLC", "TLC", "Torque limiting"),
    ("ALM", "ALM", "ALM", "ALM", "Alarm"),
    ("BRK", "BRK", "BRK", "BRK", "Brake released"),
)

STRINGS = {
    200: ("Monitor", "監視器", "监视器"),
    201: ("Motion Monitor", "運動監視", "运动监视"),
    202: ("Status Monitor", "狀態監視", "状态监视"),
    203: ("Input Signal Monitor", "輸入信號監視", "输入信号监视"),
    204: ("Output Signal Monitor", "輸出信號監視", "输出信号监视"),
    205: ("Select All", "全選", "全选"),
    206: ("Cancel All", "全部取消", "全部取消"),
    207: ("Open com", "開始通訊", "开始通讯"),
    208: ("Stop com", "停止通訊", "停止通讯"),
    209: ("No.", "編號", "编号"),
    210: ("Item", "項目", "项目"),
    211: ("Unit", "單位", "单位"),
    212: ("Value", "數值", "数值"),
    213: ("Pin", "接腳", "引脚"),
    214: ("Function", "功能", "功能"),
    215: ("State", "狀態", "状态"),
    216: ("ON", "ON", "ON"),
    217: ("OFF", "OFF", "OFF"),
    218: ("Monitoring stopped: another tool needs the link.",
          "監視已停止：其他工具需要通訊連線。", "监视已停止：其他工具需要通讯连接。"),
    219: ("Off-line: connect a drive to monitor it.",
          "離線：請先連接驅動器再進行監視。", "离线：请先连接驱动器再进行监视。"),
    230: ("Clear", "清除", "清除"),
    231: ("Pos Mode", "位置模式", "位置模式"),
    232: ("Spd Mode", "速度模式", "速度模式"),
    233: ("Rpm Mode", "內部速度模式", "内部速度模式"),
    234: ("Rpm Mode", "內部速度模式", "内部速度模式"),
    235: ("Tor Mode", "轉矩模式", "转矩模式"),
}


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def setup(count, comment):
    return ["; " + comment, "[Setup]", "iQty=%d" % count]


def value_names(names, lang):
    lines = ["Info_iQty=%d" % len(names)]
    for i, name in enumerate(names):
        lines += ["name%d.0=%d" % (i, i), "name%d.1=%s" % (i, name[lang])]
    return lines


def main():
    lines = setup(len(MOTION), "Motion items: registers of the status block")
    for n, (name, unit, offset, size, clear, kind) in enumerate(MOTION, 1):
        lines += ["", "[Motion%d]" % n, "Name=" + name[0], "Unit=" + unit,
                  "Address=%d" % (BLOCK + offset), "Datasize=%d" % size, "Clear=%d" % clear,
                  "Offset=0", "Scale=1", "Type=%d" % kind]
    write(os.path.join(OUT, "Motion.dat"), lines)

    lines = setup(len(STATUS), "Status items: rows 1-3 by value name, rows 4 on bits 0.. of the flags")
    for n, (name, offset, _) in enumerate(STATUS, 1):
        lines += ["", "[Motion%d]" % n, "Name=" + name[0], "Address=%d" % (BLOCK + offset),
                  "Datasize=1", "Clear=0", "Offset=0", "Scale=1", "Number=%d" % n]
    write(os.path.join(OUT, "Status.dat"), lines)

    for filename, pins, first, prefix in (("Input Signal.dat", INPUTS, 0, "DI"),
                                          ("Output Signal.dat", OUTPUTS, 16, "DO")):
        lines = setup(len(pins), "%s pins: coils %d.. read together; name<i>.0-3 per mode"
                      % (prefix, first))
        for n, pin in enumerate(pins, 1):
            lines += ["", "[Motion%d]" % n, "Name=%s%d" % (prefix, n)]
            if prefix == "DO":
                lines.append("Text=" + pin[4])
            lines += ["Address=%d" % first, "Datasize=%d" % len(pins), "Number=%d" % n,
                      "Info_iQty=1"] + ["name0.%d=%s" % (m, pin[m]) for m in range(4)]
        write(os.path.join(OUT, filename), lines)

    for lang, code in enumerate(LANGS):
        folder = os.path.join(OUT, code)
        write(os.path.join(folder, code + ".lng"),
              ["; Monitor, " + ("English", "Traditional Chinese", "Simplified Chinese")[lang],
               "[StringTable]"] + ["%d=%s" % (k, v[lang]) for k, v in sorted(STRINGS.items())])
        lines = ["; Motion item names"]
        for n, (name, unit, *_rest) in enumerate(MOTION, 1):
            lines += ["", "[Motion%d]" % n, "Name=" + name[lang], "Unit=" + unit]
        write(os.path.join(folder, "Motion%s.dat" % code), lines)
        lines = ["; Status item names and value names"]
        for n, (name, _offset, names) in enumerate(STATUS, 1):
            lines += ["", "[Motion%d]" % n, "Name=" + name[lang]]
            if names:
                lines += value_names(names, lang)
        write(os.path.join(folder, "Status%s.dat" % code), lines)


if __name__ == "__main__":
    main()
