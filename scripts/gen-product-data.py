#!/usr/bin/env python3
"""Writes the drive parameter tables shipped beside the program.

Definition files: data/hq_417.par (rotary T5), data/Whq_417.par (linear W5),
data/rk_905.par (rotary T8). Description files with the names and option
texts: data/Language/Knobset/<L>/<table><L>.dsc for L = ENG, CHT, CHS.

The tables are generated so that the register layout stays consistent with
docs/drive-registers.md: T5/W5 group 0 leaves the tool command registers free,
and T8 numbers 0..127 sit at registers 0..127 (eight runs of 16), followed by
the 32-bit point positions, the point speeds 9..16 and the homing block.

Run from the repository root: python3 scripts/gen-product-data.py
"""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
LANGS = ("ENG", "CHT", "CHS")


class P:
    """One parameter: names and option texts as (english, traditional, simplified)."""

    def __init__(self, name, lo, hi, default, unit="-", reboot=0, reserved=0, items=(),
                 dio=0, address=None, unit1=None, name1=None, e=0, io=0, atlock=0):
        self.name, self.lo, self.hi, self.default = name, lo, hi, default
        self.unit, self.reboot, self.reserved, self.items = unit, reboot, reserved, items
        self.dio, self.address, self.unit1, self.name1 = dio, address, unit1, name1
        self.e, self.io, self.atlock = e, io, atlock
        assert lo <= default <= hi, name


def N(en, cht, chs):
    return (en, cht, chs)


def numbered(en, cht, chs, n):
    return (en.format(n=n), cht.format(n=n), chs.format(n=n))


RESERVED = N("Reserved", "保留", "保留")

# Option lists shared by several parameters.
OFF_ON = (N("0: Disabled", "0: 無效", "0: 无效"), N("1: Enabled", "1: 有效", "1: 有效"))
DIRECTION = (N("0: CCW is positive", "0: 逆時針為正轉", "0: 逆时针为正转"),
             N("1: CW is positive", "1: 順時針為正轉", "1: 顺时针为正转"))
CONTROL_MODES_T5 = (
    N("0: Position", "0: 位置控制", "0: 位置控制"),
    N("1: Speed", "1: 速度控制", "1: 速度控制"),
    N("2: Torque", "2: 轉矩控制", "2: 转矩控制"),
    N("3: Position / speed", "3: 位置 / 速度切換", "3: 位置 / 速度切换"),
    N("4: Position / torque", "4: 位置 / 轉矩切換", "4: 位置 / 转矩切换"),
    N("5: Speed / torque", "5: 速度 / 轉矩切換", "5: 速度 / 转矩切换"),
    N("6: Internal position", "6: 內部位置控制", "6: 内部位置控制"))
CONTROL_MODES_T8 = CONTROL_MODES_T5 + (
    N("7: Internal position / position", "7: 內部位置 / 位置切換", "7: 内部位置 / 位置切换"),)
PULSE_MODES = (
    N("0: A/B phase, 90 degrees", "0: A/B 相正交脈波", "0: A/B 相正交脉冲"),
    N("1: CW / CCW pulse", "1: CW / CCW 脈波", "1: CW / CCW 脉冲"),
    N("2: A/B phase, 90 degrees, x4", "2: A/B 相正交脈波 4 倍頻", "2: A/B 相正交脉冲 4 倍频"),
    N("3: Pulse and sign", "3: 脈波 + 方向", "3: 脉冲 + 方向"))
TUNING_MODES = (
    N("0: Invalid", "0: 無效", "0: 无效"),
    N("1: Standard", "1: 標準模式", "1: 标准模式"),
    N("2: Positioning", "2: 定位模式", "2: 定位模式"),
    N("3: Vertical axis", "3: 垂直軸模式", "3: 垂直轴模式"),
    N("4: Friction compensation", "4: 摩擦補償模式", "4: 摩擦补偿模式"),
    N("5: Load characteristic measurement", "5: 負載特性測定", "5: 负载特性测定"),
    N("6: Customize", "6: 自訂模式", "6: 自定义模式"))
BAUDS = (N("0: 19200 bps", "0: 19200 bps", "0: 19200 bps"),
         N("1: 38400 bps", "1: 38400 bps", "1: 38400 bps"),
         N("2: 57600 bps", "2: 57600 bps", "2: 57600 bps"),
         N("3: 115200 bps", "3: 115200 bps", "3: 115200 bps"))
STOP_SEQ = (N("0: Dynamic brake, then free run", "0: 動態煞車後自由運轉", "0: 动态制动后自由运转"),
            N("1: Free run", "1: 自由運轉", "1: 自由运转"),
            N("2: Dynamic brake, then hold", "2: 動態煞車後保持", "2: 动态制动后保持"),
            N("3: Free run, then hold", "3: 自由運轉後保持", "3: 自由运转后保持"))
REGEN = (N("0: Built-in resistor", "0: 內建回生電阻", "0: 内置再生电阻"),
         N("1: External, limit 1 %", "1: 外接回生電阻, 限制 1 %", "1: 外接再生电阻, 限制 1 %"),
         N("2: External, no limit", "2: 外接回生電阻, 不限制", "2: 外接再生电阻, 不限制"),
         N("3: None", "3: 不使用回生電阻", "3: 不使用再生电阻"))
DI_FUNCS = (N("0: Unassigned", "0: 未分配", "0: 未分配"),
            N("1: Servo on", "1: 伺服啟動", "1: 伺服使能"),
            N("2: Alarm clear", "2: 異警清除", "2: 报警清除"),
            N("3: Positive overtravel", "3: 正轉禁止極限", "3: 正向超程禁止"),
            N("4: Negative overtravel", "4: 反轉禁止極限", "4: 反向超程禁止"),
            N("5: Deviation counter clear", "5: 偏差計數器清除", "5: 偏差计数器清零"),
            N("6: Gain switching", "6: 增益切換", "6: 增益切换"),
            N("7: Control mode switching", "7: 控制模式切換", "7: 控制模式切换"),
            N("8: Torque limit switching", "8: 轉矩限制切換", "8: 转矩限制切换"),
            N("9: Emergency stop", "9: 緊急停止", "9: 紧急停止"))
DO_FUNCS = (N("0: Unassigned", "0: 未分配", "0: 未分配"),
            N("1: Servo ready", "1: 伺服準備完成", "1: 伺服准备好"),
            N("2: Alarm", "2: 異警輸出", "2: 报警输出"),
            N("3: Positioning complete", "3: 定位完成", "3: 定位完成"),
            N("4: At speed", "4: 速度到達", "4: 速度到达"),
            N("5: Zero speed", "5: 零速度檢出", "5: 零速检出"),
            N("6: Brake release", "6: 煞車釋放", "6: 制动器释放"),
            N("7: Torque limiting", "7: 轉矩限制中", "7: 转矩限制中"),
            N("8: Homing complete", "8: 原點復歸完成", "8: 原点回归完成"),
            N("9: Warning", "9: 警告輸出", "9: 警告输出"))
HOMING_MODES = (N("0: Home switch, forward", "0: 原點開關, 正方向", "0: 原点开关, 正方向"),
                N("1: Home switch, reverse", "1: 原點開關, 反方向", "1: 原点开关, 反方向"),
                N("2: Z phase, forward", "2: Z 相, 正方向", "2: Z 相, 正方向"),
                N("3: Z phase, reverse", "3: Z 相, 反方向", "3: Z 相, 反方向"),
                N("4: Positive limit", "4: 正方向極限", "4: 正方向极限"),
                N("5: Negative limit", "5: 反方向極限", "5: 反方向极限"),
                N("6: Bump stop, forward", "6: 撞擊式, 正方向", "6: 撞击式, 正方向"),
                N("7: Bump stop, reverse", "7: 撞擊式, 反方向", "7: 撞击式, 反方向"),
                N("8: Current position", "8: 目前位置為原點", "8: 当前位置为原点"))
MOTION_CMD = (N("0: Stop", "0: 停止", "0: 停止"), N("1: Hold", "1: 保持", "1: 保持"),
              N("2: Run", "2: 執行", "2: 执行"))

RPM, MS = "r/min", "ms"
BIG = 1073741824


def gain_block(first):
    """Gains of one gain set (1st or 2nd): position, velocity, integral, detection, torque."""
    n = first
    en, ct, cs = ("1st", "第一", "第一") if n == 1 else ("2nd", "第二", "第二")
    return [
        P(N(f"{en} gain of position loop", f"{ct}位置迴路增益", f"{cs}位置环增益"), 0, 30000, 480 if n == 1 else 570, "0.1/s"),
        P(N(f"{en} gain of velocity loop", f"{ct}速度迴路增益", f"{cs}速度环增益"), 1, 32767, 270, "0.1Hz"),
        P(N(f"{en} time constant of velocity loop integration", f"{ct}速度迴路積分時間常數", f"{cs}速度环积分时间常数"), 1, 10000, 210 if n == 1 else 10000, "0.1ms"),
        P(N(f"{en} filter of speed detection", f"{ct}速度檢出濾波器", f"{cs}速度检测滤波器"), 0, 5, 0),
        P(N(f"{en} time constant of torque filter", f"{ct}轉矩濾波器時間常數", f"{cs}转矩滤波器时间常数"), 0, 2500, 84, "0.01ms"),
    ]


def t5_tables(linear):
    """Parameters of the T5 and W5 families by number (group*100 + index)."""
    t = {}

    def put(group, index, p):
        t[group * 100 + index] = p

    def put_all(group, first, params):
        for k, p in enumerate(params):
            put(group, first + k, p)

    speed_unit = "mm/s" if linear else RPM
    spd = dict(unit1="mm/s") if linear else {}
    # Group 0: basic settings. Indexes 18, 23, 64..66, 72, 80..87, 90 and 91 stay
    # free: their registers are command registers of the tools.
    put_all(0, 0, [
        P(N("Rotational direction setup", "旋轉方向設定", "旋转方向设定"), 0, 1, 1, reboot=1, items=DIRECTION,
          name1=N("Moving direction setup", "移動方向設定", "移动方向设定")),
        P(N("Control mode setup", "控制模式設定", "控制模式设定"), 0, 6, 0, reboot=1, items=CONTROL_MODES_T5),
        P(N("Real-time auto-tuning setup", "即時自動調諧設定", "实时自动调谐设定"), 0, 6, 1, items=TUNING_MODES),
        P(N("Real-time auto-tuning machine stiffness", "即時自動調諧機械剛性", "实时自动调谐机械刚性"), 0, 31, 13),
        P(N("Inertia ratio", "慣量比", "惯量比"), 0, 10000, 250, "%",
          name1=N("Mass ratio", "質量比", "质量比")),
        P(N("Command pulse input selection", "指令脈波輸入選擇", "指令脉冲输入选择"), 0, 1, 0,
          items=(N("0: Photo-coupler input", "0: 光耦合輸入", "0: 光耦输入"), N("1: Line driver input", "1: 差動輸入", "1: 差分输入"))),
        P(N("Command pulse rotational direction", "指令脈波旋轉方向", "指令脉冲旋转方向"), 0, 1, 0, items=DIRECTION),
        P(N("Command pulse input mode", "指令脈波輸入模式", "指令脉冲输入模式"), 0, 3, 1, items=PULSE_MODES),
        P(N("Command pulse counts per one motor revolution", "馬達每轉指令脈波數", "电机每转指令脉冲数"), 0, 8388608, 10000, "pulse"),
        P(N("1st numerator of electronic gear", "電子齒輪比分子 1", "电子齿轮比分子 1"), 0, BIG, 0),
        P(N("Denominator of electronic gear", "電子齒輪比分母", "电子齿轮比分母"), 1, BIG, 10000),
        P(N("Output pulse counts per one motor revolution", "馬達每轉輸出脈波數", "电机每转输出脉冲数"), 1, 262144, 2500, "P/r", reboot=1),
        P(N("Reversal of pulse output logic", "脈波輸出邏輯反轉", "脉冲输出逻辑反转"), 0, 3, 0, reboot=1),
        P(N("1st torque limit", "第一轉矩限制", "第一转矩限制"), 0, 500, 500, "%",
          name1=N("1st thrust limit", "第一推力限制", "第一推力限制")),
        P(N("Position deviation excess setup", "位置偏差過大設定", "位置偏差过大设定"), 0, 134217728, 100000, "pulse"),
        P(N("Absolute encoder setup", "絕對式編碼器設定", "绝对式编码器设定"), 0, 2, 1, reboot=1,
          items=(N("0: Incremental", "0: 增量式", "0: 增量式"), N("1: Absolute", "1: 絕對式", "1: 绝对式"),
                 N("2: Absolute, counter overflow ignored", "2: 絕對式, 忽略溢位", "2: 绝对式, 忽略溢出"))),
        P(N("External regenerative resistor setup", "外接回生電阻設定", "外接再生电阻设定"), 0, 3, 3, items=REGEN),
        P(N("Load factor of external regenerative resistor", "外接回生電阻負載率", "外接再生电阻负载率"), 0, 4, 0, reboot=1),
    ])
    put_all(0, 19, [
        P(N("Speed command input gain", "速度指令輸入增益", "速度指令输入增益"), 10, 2000, 500, "(r/min)/V", unit1="(mm/s)/V"),
        P(N("Speed command input reversal", "速度指令輸入反轉", "速度指令输入反转"), 0, 1, 1),
        P(N("Speed command offset", "速度指令偏移", "速度指令偏移"), -2047, 2047, 0, "0.3mV"),
        P(N("Speed command filter", "速度指令濾波器", "速度指令滤波器"), 0, 6400, 0, "0.01ms"),
    ])
    put_all(0, 24, [
        P(N("Torque command input gain", "轉矩指令輸入增益", "转矩指令输入增益"), 10, 100, 30, "0.1V/100%"),
        P(N("Torque command input reversal", "轉矩指令輸入反轉", "转矩指令输入反转"), 0, 1, 0),
        P(N("Torque command offset", "轉矩指令偏移", "转矩指令偏移"), -2047, 2047, 0, "0.3mV"),
        P(N("Torque command filter", "轉矩指令濾波器", "转矩指令滤波器"), 0, 6400, 0, "0.01ms"),
    ])
    for n in range(1, 9):
        put(0, 27 + n, P(numbered("Internal speed {n}", "內部速度 {n}", "内部速度 {n}", n), -20000, 20000, 0, speed_unit, **spd))
    put_all(0, 36, [
        P(N("Acceleration time", "加速時間", "加速时间"), 0, 10000, 100, "ms/(1000r/min)"),
        P(N("Deceleration time", "減速時間", "减速时间"), 0, 10000, 100, "ms/(1000r/min)"),
        P(N("S-curve acceleration / deceleration time", "S 形加減速時間", "S 形加减速时间"), 0, 1000, 0, MS),
        P(N("Zero speed clamp function", "零速箝位功能", "零速钳位功能"), 0, 3, 0, items=OFF_ON),
        P(N("Zero speed clamp level", "零速箝位準位", "零速钳位电平"), 10, 20000, 30, speed_unit, **spd),
        P(N("Positioning complete range", "定位完成範圍", "定位完成范围"), 0, 262144, 10, "pulse"),
        P(N("Positioning complete output setup", "定位完成輸出設定", "定位完成输出设定"), 0, 4, 0),
        P(N("Zero speed detection level", "零速度檢出準位", "零速检出电平"), 10, 20000, 50, speed_unit, **spd),
        P(N("At-speed detection level", "到達速度準位", "速度到达电平"), 10, 20000, 1000, speed_unit, **spd),
        P(N("Speed coincidence range", "速度一致範圍", "速度一致范围"), 10, 20000, 50, speed_unit, **spd),
    ])
    put_all(0, 46, [
        P(N("Brake release speed setup", "煞車釋放速度設定", "制动器释放速度设定"), 30, 3000, 30, speed_unit, **spd),
        P(N("Undervoltage alarm selection", "欠電壓異警選擇", "欠电压报警选择"), 0, 1, 1),
        P(N("Main power off detection time", "主電源斷電檢出時間", "主电源断电检测时间"), 70, 2000, 70, MS),
        P(N("Sequence at main power off", "主電源斷電時動作", "主电源断电时动作"), 0, 3, 0, items=STOP_SEQ),
        P(N("Sequence at alarm", "異警時動作", "报警时动作"), 0, 3, 0, items=STOP_SEQ),
        P(N("Sequence at servo off", "伺服關閉時動作", "伺服关闭时动作"), 0, 3, 0, items=STOP_SEQ),
        P(N("Overtravel inhibit input setup", "驅動禁止輸入設定", "驱动禁止输入设定"), 0, 2, 1, reboot=1),
        P(N("Emergency stop torque setup", "緊急停止轉矩設定", "紧急停止转矩设定"), 0, 500, 0, "%"),
        P(N("Overspeed level setup", "過速度準位設定", "过速度电平设定"), 0, 20000, 0, speed_unit, **spd),
        P(N("Overload level setup", "過負載準位設定", "过载电平设定"), 0, 500, 0, "%"),
        P(N("Motor working range setup", "馬達可動範圍設定", "电机可动范围设定"), 0, 1000, 10, "0.1rev"),
        P(N("Axis address", "軸位址", "轴地址"), 0, 127, 1, reboot=1),
        P(N("Baud rate of RS485 communication", "RS485 通訊鮑率", "RS485 通讯波特率"), 0, 3, 3, reboot=1, items=BAUDS),
        P(N("Front panel lock setup", "面板鎖定設定", "面板锁定设定"), 0, 1, 0, items=OFF_ON),
    ])
    put_all(0, 60, [
        P(N("Initial status display", "初始狀態顯示", "初始状态显示"), 0, 40, 1),
        P(N("Analog monitor 1 type", "類比監視 1 種類", "模拟监视 1 种类"), 0, 21, 0),
        P(N("Analog monitor 1 output gain", "類比監視 1 輸出增益", "模拟监视 1 输出增益"), 0, 214748364, 0),
        P(N("Analog monitor 2 type", "類比監視 2 種類", "模拟监视 2 种类"), 0, 21, 4),
    ])
    put_all(0, 67, [
        P(N("Analog monitor 2 output gain", "類比監視 2 輸出增益", "模拟监视 2 输出增益"), 0, 214748364, 0),
        P(N("Analog monitor output setup", "類比監視輸出設定", "模拟监视输出设定"), 0, 2, 0),
        P(N("Communication response delay", "通訊回應延遲", "通讯响应延迟"), 0, 100, 0, MS),
        P(N("Parameter write protection", "參數寫入保護", "参数写入保护"), 0, 1, 0, items=OFF_ON),
        P(N("Encoder resolution selection", "編碼器解析度選擇", "编码器分辨率选择"), 0, 3, 0, reboot=1),
    ])
    for k in range(73, 80):
        put(0, k, P(RESERVED, 0, 0, 0, reserved=1))
    put_all(0, 88, [P(RESERVED, 0, 0, 0, reserved=1), P(RESERVED, 0, 0, 0, reserved=1)])
    for k in range(92, 100):
        put(0, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 1: gains and their switching.
    put_all(1, 0, gain_block(1) + gain_block(2))
    put_all(1, 10, [
        P(N("Velocity feed forward gain", "速度前饋增益", "速度前馈增益"), 0, 1000, 300, "0.1%"),
        P(N("Velocity feed forward filter", "速度前饋濾波器", "速度前馈滤波器"), 0, 6400, 50, "0.01ms"),
        P(N("Torque feed forward gain", "轉矩前饋增益", "转矩前馈增益"), 0, 1000, 0, "0.1%"),
        P(N("Torque feed forward filter", "轉矩前饋濾波器", "转矩前馈滤波器"), 0, 6400, 0, "0.01ms"),
    ])
    gain_switch = [
        (N("Gain switching mode in position control", "位置控制增益切換模式", "位置控制增益切换模式"), 0, 10, 0),
        (N("Gain switching delay in position control", "位置控制增益切換延遲", "位置控制增益切换延迟"), 0, 10000, 50),
        (N("Gain switching level in position control", "位置控制增益切換準位", "位置控制增益切换电平"), 0, 20000, 50),
        (N("Gain switching hysteresis in position control", "位置控制增益切換遲滯", "位置控制增益切换滞环"), 0, 20000, 33),
        (N("Position gain switching time", "位置增益切換時間", "位置增益切换时间"), 0, 10000, 33),
        (N("Gain switching mode in velocity control", "速度控制增益切換模式", "速度控制增益切换模式"), 0, 5, 0),
        (N("Gain switching delay in velocity control", "速度控制增益切換延遲", "速度控制增益切换延迟"), 0, 10000, 0),
        (N("Gain switching level in velocity control", "速度控制增益切換準位", "速度控制增益切换电平"), 0, 20000, 0),
        (N("Gain switching hysteresis in velocity control", "速度控制增益切換遲滯", "速度控制增益切换滞环"), 0, 20000, 0),
        (N("Gain switching mode in torque control", "轉矩控制增益切換模式", "转矩控制增益切换模式"), 0, 3, 0),
        (N("Gain switching delay in torque control", "轉矩控制增益切換延遲", "转矩控制增益切换延迟"), 0, 10000, 0),
        (N("Gain switching level in torque control", "轉矩控制增益切換準位", "转矩控制增益切换电平"), 0, 20000, 0),
        (N("Gain switching hysteresis in torque control", "轉矩控制增益切換遲滯", "转矩控制增益切换滞环"), 0, 20000, 0),
    ]
    put_all(1, 14, [P(n, lo, hi, d) for n, lo, hi, d in gain_switch])
    put_all(1, 27, [
        P(N("Load change compensation gain", "負載變動補償增益", "负载变动补偿增益"), -100, 100, 0, "%"),
        P(N("Friction compensation, positive direction", "正方向摩擦補償", "正方向摩擦补偿"), -100, 100, 0, "%"),
        P(N("Friction compensation, negative direction", "反方向摩擦補償", "反方向摩擦补偿"), -100, 100, 0, "%"),
        P(N("Unbalanced torque compensation", "偏載轉矩補償", "偏载转矩补偿"), -100, 100, 0, "%"),
        P(N("Disturbance torque observer gain", "外擾轉矩觀測器增益", "扰动转矩观测器增益"), 0, 100, 0, "%"),
        P(N("Disturbance torque observer filter", "外擾轉矩觀測器濾波器", "扰动转矩观测器滤波器"), 10, 2500, 53, "0.01ms"),
    ])
    for k in range(33, 50):
        put(1, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 2: vibration suppression and filters.
    for n in range(1, 5):
        base = (n - 1) * 3
        put_all(2, base, [
            P(numbered("Notch filter {n} frequency", "陷波濾波器 {n} 頻率", "陷波滤波器 {n} 频率", n), 50, 5000, 5000, "Hz"),
            P(numbered("Notch filter {n} width", "陷波濾波器 {n} 寬度", "陷波滤波器 {n} 宽度", n), 0, 20, 2),
            P(numbered("Notch filter {n} depth", "陷波濾波器 {n} 深度", "陷波滤波器 {n} 深度", n), 0, 99, 0),
        ])
    put(2, 12, P(N("Adaptive filter mode", "自適應濾波器模式", "自适应滤波器模式"), 0, 4, 1,
                 items=(N("0: Invalid", "0: 無效", "0: 无效"), N("1: One filter", "1: 一組濾波器", "1: 一组滤波器"),
                        N("2: Two filters", "2: 兩組濾波器", "2: 两组滤波器"), N("3: Reset", "3: 重置", "3: 重置"),
                        N("4: Clear", "4: 清除", "4: 清除"))))
    put(2, 13, P(N("Vibration suppression filter mode", "制振濾波器模式", "制振滤波器模式"), 0, 3, 0))
    for n in range(1, 5):
        put_all(2, 12 + 2 * n, [
            P(numbered("Vibration suppression {n} frequency", "制振 {n} 頻率", "减振 {n} 频率", n), 0, 2000, 0, "0.1Hz"),
            P(numbered("Vibration suppression {n} filter", "制振 {n} 濾波器", "减振 {n} 滤波器", n), 0, 1000, 0, "0.1Hz"),
        ])
    put_all(2, 22, [
        P(N("Position command smoothing filter", "位置指令平滑濾波器", "位置指令平滑滤波器"), 0, 10000, 0, "0.1ms"),
        P(N("Position command FIR filter", "位置指令 FIR 濾波器", "位置指令 FIR 滤波器"), 0, 10000, 0, "0.1ms"),
        P(N("Speed command smoothing filter", "速度指令平滑濾波器", "速度指令平滑滤波器"), 0, 10000, 0, "0.1ms"),
    ])
    for k in range(25, 30):
        put(2, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 3: velocity, torque and full-closed control.
    put_all(3, 0, [
        P(N("Speed setup, internal / external switching", "內部 / 外部速度切換", "内部 / 外部速度切换"), 0, 3, 0),
        P(N("Speed command direction selection", "速度指令方向選擇", "速度指令方向选择"), 0, 1, 0),
        P(N("Torque command selection", "轉矩指令選擇", "转矩指令选择"), 0, 2, 0),
        P(N("Torque command direction selection", "轉矩指令方向選擇", "转矩指令方向选择"), 0, 1, 0),
        P(N("Speed limit in torque control", "轉矩控制速度限制", "转矩控制速度限制"), 0, 20000, 1000, speed_unit, **spd),
        P(N("Torque limit selection", "轉矩限制選擇", "转矩限制选择"), 0, 6, 1),
        P(N("2nd torque limit", "第二轉矩限制", "第二转矩限制"), 0, 500, 500, "%"),
        P(N("Positive direction torque limit", "正方向轉矩限制", "正方向转矩限制"), 0, 500, 500, "%"),
        P(N("Negative direction torque limit", "反方向轉矩限制", "反方向转矩限制"), 0, 500, 500, "%"),
        P(N("Torque limit switching time", "轉矩限制切換時間", "转矩限制切换时间"), 0, 4000, 0, "ms/100%"),
    ])
    for n in range(1, 9):
        put(3, 9 + n, P(numbered("Internal torque {n}", "內部轉矩 {n}", "内部转矩 {n}", n), -500, 500, 0, "%"))
    put_all(3, 18, [
        P(N("Full-closed control selection", "全閉迴路控制選擇", "全闭环控制选择"), 0, 1, 0, reboot=1, items=OFF_ON),
        P(N("External scale type", "外部光學尺種類", "外部光栅尺种类"), 0, 2, 0, reboot=1),
        P(N("External scale ratio numerator", "外部光學尺比例分子", "外部光栅尺比例分子"), 0, 8388608, 0, reboot=1),
        P(N("External scale ratio denominator", "外部光學尺比例分母", "外部光栅尺比例分母"), 1, 8388608, 10000, reboot=1),
        P(N("Hybrid deviation excess setup", "混合偏差過大設定", "混合偏差过大设定"), 1, 134217728, 16000, "pulse"),
        P(N("Hybrid deviation clear setup", "混合偏差清除設定", "混合偏差清除设定"), 0, 100, 0, "rev"),
    ])
    for k in range(24, 30):
        put(3, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 4: I/O monitor settings.
    for n in range(1, 11):
        put(4, n - 1, P(numbered("DI{n} input selection", "DI{n} 輸入功能選擇", "DI{n} 输入功能选择", n), 0, 9,
                        [1, 2, 3, 4, 5, 6, 7, 8, 9, 0][n - 1], reboot=1, io=1, items=DI_FUNCS))
    for n in range(1, 7):
        put(4, 9 + n, P(numbered("DO{n} output selection", "DO{n} 輸出功能選擇", "DO{n} 输出功能选择", n), 0, 9,
                        [1, 2, 3, 4, 5, 6][n - 1], reboot=1, io=1, items=DO_FUNCS))
    put_all(4, 16, [
        P(N("DI input logic inversion", "DI 輸入邏輯反轉", "DI 输入逻辑反转"), 0, 1023, 0),
        P(N("DO output logic inversion", "DO 輸出邏輯反轉", "DO 输出逻辑反转"), 0, 63, 0),
        P(N("DI input filter", "DI 輸入濾波器", "DI 输入滤波器"), 0, 100, 2, MS),
        P(N("Analog input 1 offset", "類比輸入 1 偏移", "模拟输入 1 偏移"), -5578, 5578, 0, "0.359mV"),
        P(N("Analog input 1 filter", "類比輸入 1 濾波器", "模拟输入 1 滤波器"), 0, 6400, 0, "0.01ms"),
        P(N("Analog input 2 offset", "類比輸入 2 偏移", "模拟输入 2 偏移"), -342, 342, 0, "5.86mV"),
        P(N("Analog input 2 filter", "類比輸入 2 濾波器", "模拟输入 2 滤波器"), 0, 6400, 0, "0.01ms"),
        P(N("Analog input 3 offset", "類比輸入 3 偏移", "模拟输入 3 偏移"), -342, 342, 0, "5.86mV"),
        P(N("Analog input 3 filter", "類比輸入 3 濾波器", "模拟输入 3 滤波器"), 0, 6400, 0, "0.01ms"),
        P(N("Positioning complete range 2", "定位完成範圍 2", "定位完成范围 2"), 0, 262144, 10, "pulse"),
        P(N("Mechanical brake delay at stall", "停止時煞車動作延遲", "停止时制动器动作延迟"), 0, 10000, 0, MS),
        P(N("Mechanical brake delay in motion", "運轉時煞車動作延遲", "运转时制动器动作延迟"), 0, 10000, 0, MS),
        P(N("Warning output selection 1", "警告輸出選擇 1", "警告输出选择 1"), 0, 10, 0),
        P(N("Warning output selection 2", "警告輸出選擇 2", "警告输出选择 2"), 0, 10, 0),
    ])
    for k in range(30, 40):
        put(4, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 5: enhancing settings.
    put_all(5, 0, [
        P(N("2nd numerator of electronic gear", "電子齒輪比分子 2", "电子齿轮比分子 2"), 0, BIG, 0),
        P(N("3rd numerator of electronic gear", "電子齒輪比分子 3", "电子齿轮比分子 3"), 0, BIG, 0),
        P(N("4th numerator of electronic gear", "電子齒輪比分子 4", "电子齿轮比分子 4"), 0, BIG, 0),
        P(N("Denominator of pulse output division", "脈波輸出分周分母", "脉冲输出分频分母"), 0, 262144, 0, reboot=1),
        P(N("Overtravel inhibit setup", "驅動禁止設定", "驱动禁止设定"), 0, 2, 1),
        P(N("Sequence at overtravel inhibit", "驅動禁止時動作", "驱动禁止时动作"), 0, 2, 0),
        P(N("Emergency stop input setup", "緊急停止輸入設定", "紧急停止输入设定"), 0, 1, 1, items=OFF_ON),
        P(N("Overload protection selection", "過負載保護選擇", "过载保护选择"), 0, 1, 0),
        P(N("Regenerative discharge limit", "回生放電限制", "再生放电限制"), 0, 100, 0, "%"),
        P(N("Alarm clear input setup", "異警清除輸入設定", "报警清除输入设定"), 0, 100, 4, MS),
        P(N("Counter clear input mode", "計數器清除輸入模式", "计数器清零输入模式"), 0, 4, 3),
        P(N("Command pulse inhibit input", "指令脈波禁止輸入", "指令脉冲禁止输入"), 0, 1, 1),
        P(N("Command pulse inhibit input read setup", "指令脈波禁止輸入讀取設定", "指令脉冲禁止输入读取设定"), 0, 4, 0),
        P(N("Speed limit selection", "速度限制選擇", "速度限制选择"), 0, 2, 0),
        P(N("Feedback position display", "回授位置顯示", "反馈位置显示"), 0, 1, 0),
        P(N("Delay time of engaging dynamic brake", "動態煞車動作延遲", "动态制动动作延迟"), 0, 255, 0, MS),
        P(N("Power-up wait time", "上電等待時間", "上电等待时间"), 0, 100, 0, "0.1s", reboot=1),
        P(N("Stop time at servo off", "伺服關閉停止時間", "伺服关闭停止时间"), 0, 1000, 0, MS),
        P(N("Torque saturation alarm time", "轉矩飽和異警時間", "转矩饱和报警时间"), 0, 5000, 0, MS),
        P(N("Overspeed alarm detection level", "過速度異警檢出準位", "过速度报警检出电平"), 0, 20000, 0, speed_unit, **spd),
    ])
    for k in range(20, 30):
        put(5, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 6: special settings.
    put_all(6, 0, [
        P(N("Analog torque feed forward conversion gain", "類比轉矩前饋轉換增益", "模拟转矩前馈转换增益"), 0, 100, 0, "0.1V/100%"),
        P(N("Encoder zero position compensation", "編碼器零點補償", "编码器零点补偿"), -32768, 32767, 0, "pulse", atlock=1),
        P(N("Speed deviation excess setup", "速度偏差過大設定", "速度偏差过大设定"), 0, 20000, 0, speed_unit, **spd),
        P(N("JOG speed setup", "JOG 速度設定", "JOG 速度设定"), 0, 500, 300, speed_unit, **spd),
        P(N("Torque command addition value", "轉矩指令加算值", "转矩指令加算值"), -100, 100, 0, "%"),
        P(N("Positive direction torque compensation", "正方向轉矩補償值", "正方向转矩补偿值"), -100, 100, 0, "%"),
        P(N("Negative direction torque compensation", "反方向轉矩補償值", "反方向转矩补偿值"), -100, 100, 0, "%"),
        P(N("Function expansion setup", "功能擴充設定", "功能扩展设定"), 0, 63, 0),
        P(N("Current response setup", "電流響應設定", "电流响应设定"), 10, 300, 100, "%"),
        P(N("Servo off deviation clear", "伺服關閉偏差清除", "伺服关闭偏差清零"), 0, 1, 1, items=OFF_ON),
        P(N("Encoder communication error detection", "編碼器通訊異常檢出", "编码器通讯异常检出"), 0, 1000, 0),
        P(N("Instantaneous speed observer gain", "瞬時速度觀測器增益", "瞬时速度观测器增益"), 0, 1000, 0, "%"),
    ])
    for k in range(12, 20):
        put(6, k, P(RESERVED, 0, 0, 0, reserved=1))

    # Group 9: motor data, set at the factory.
    motor = [
        (N("Motor rated current", "馬達額定電流", "电机额定电流"), 0, 30000, 280, "0.01A"),
        (N("Motor maximum current", "馬達最大電流", "电机最大电流"), 0, 30000, 850, "0.01A"),
        (N("Motor rated speed", "馬達額定轉速", "电机额定转速"), 0, 10000, 3000, speed_unit),
        (N("Motor maximum speed", "馬達最高轉速", "电机最高转速"), 0, 10000, 5000, speed_unit),
        (N("Motor pole pairs", "馬達極對數", "电机极对数"), 1, 64, 5, "-"),
        (N("Motor inertia", "馬達轉動慣量", "电机转动惯量"), 0, 100000, 140, "0.01kg*cm^2"),
        (N("Motor phase resistance", "馬達相電阻", "电机相电阻"), 0, 100000, 1200, "mohm"),
        (N("Motor phase inductance", "馬達相電感", "电机相电感"), 0, 100000, 3500, "uH"),
        (N("Encoder type", "編碼器種類", "编码器种类"), 0, 7, 2, "-"),
        (N("Encoder pulse count", "編碼器脈波數", "编码器脉冲数"), 0, 8388608, 131072, "P/r"),
    ]
    put_all(9, 0, [P(n, lo, hi, d, u, reboot=1, atlock=1) for n, lo, hi, d, u in motor])

    # Group 10 (A): manufacturer settings, group 15 (F): factory calibration.
    for k in range(10):
        put(10, k, P(numbered("Manufacturer setting A{n:02d}", "廠商設定 A{n:02d}", "厂商设定 A{n:02d}", k), 0, 0, 0, reserved=1))
    calib = [
        (N("Current sensor U offset", "電流感測器 U 偏移", "电流传感器 U 偏移")),
        (N("Current sensor W offset", "電流感測器 W 偏移", "电流传感器 W 偏移")),
        (N("Analog input 1 calibration", "類比輸入 1 校正", "模拟输入 1 校正")),
        (N("Analog input 2 calibration", "類比輸入 2 校正", "模拟输入 2 校正")),
        (N("Bus voltage calibration", "母線電壓校正", "母线电压校正")),
        (N("Temperature sensor calibration", "溫度感測器校正", "温度传感器校正")),
    ]
    put_all(15, 0, [P(n, -1000, 1000, 0, atlock=1, reserved=1) for n in calib])
    return t


def t8_tables():
    """Parameters of the T8 family by number, each with its register address."""
    regs = {}

    def at(address, p):
        p.address = address
        regs[address] = p


    # Registers 0..127 hold numbers 0..127 (eight runs of 16).
    at(0, P(N("Pr.000 Rotational direction", "Pr.000 旋轉方向", "Pr.000 旋转方向"), 0, 1, 0, reboot=1, items=DIRECTION))
    at(1, P(N("Pr.001 Real-time auto-tuning", "Pr.001 即時自動調諧", "Pr.001 实时自动调谐"), 0, 6, 1, items=TUNING_MODES))
    at(2, P(N("Pr.002 Control mode", "Pr.002 控制模式", "Pr.002 控制模式"), 0, 7, 0, reboot=1, items=CONTROL_MODES_T8))
    at(3, P(N("Pr.003 Machine stiffness", "Pr.003 機械剛性", "Pr.003 机械刚性"), 0, 31, 13))
    at(4, P(N("Pr.006 Command pulse direction", "Pr.006 指令脈波方向", "Pr.006 指令脉冲方向"), 0, 1, 0, items=DIRECTION))
    at(5, P(N("Pr.007 Command pulse input mode", "Pr.007 指令脈波輸入模式", "Pr.007 指令脉冲输入模式"), 0, 3, 1, items=PULSE_MODES))
    at(6, P(N("Pr.008 Command pulses per revolution", "Pr.008 每轉指令脈波數", "Pr.008 每转指令脉冲数"), 0, 32767, 10000, "pulse"))
    at(7, P(N("Pr.011 Output pulses per revolution", "Pr.011 每轉輸出脈波數", "Pr.011 每转输出脉冲数"), 1, 32767, 2500, "P/r", reboot=1))
    at(8, P(N("Pr.013 1st torque limit", "Pr.013 第一轉矩限制", "Pr.013 第一转矩限制"), 0, 500, 300, "%"))
    at(9, P(N("Pr.014 Position deviation excess", "Pr.014 位置偏差過大", "Pr.014 位置偏差过大"), 0, 32767, 30000, "0.01rev"))
    at(10, P(N("Pr.016 Regenerative resistor setup", "Pr.016 回生電阻設定", "Pr.016 再生电阻设定"), 0, 3, 0, items=REGEN))
    at(11, P(N("Pr.015 Absolute encoder setup", "Pr.015 絕對式編碼器設定", "Pr.015 绝对式编码器设定"), 0, 2, 1, reboot=1))
    at(12, P(N("Pr.060 Axis address", "Pr.060 軸位址", "Pr.060 轴地址"), 1, 247, 1, reboot=1))
    at(13, P(N("Pr.061 Baud rate", "Pr.061 通訊鮑率", "Pr.061 通讯波特率"), 0, 3, 3, reboot=1, items=BAUDS))
    at(14, P(N("Pr.062 Communication response delay", "Pr.062 通訊回應延遲", "Pr.062 通讯响应延迟"), 0, 100, 0, MS))
    at(15, P(N("Pr.063 Parameter write protection", "Pr.063 參數寫入保護", "Pr.063 参数写入保护"), 0, 1, 0, items=OFF_ON))
    # 16..31: gains. The tuning tool writes 16, 17, 18 and 20 as two registers
    # each, so 19 and 21 receive 0 there: both accept 0.
    at(16, P(N("Pr.100 1st gain of position loop", "Pr.100 第一位置迴路增益", "Pr.100 第一位置环增益"), 1, 2000, 480, "0.1/s"))
    at(17, P(N("Pr.101 1st gain of velocity loop", "Pr.101 第一速度迴路增益", "Pr.101 第一速度环增益"), 1, 3500, 270, "0.1Hz"))
    at(18, P(N("Pr.102 1st velocity integration time constant", "Pr.102 第一速度積分時間常數", "Pr.102 第一速度积分时间常数"), 1, 1000, 210, "0.1ms"))
    at(19, P(N("Pr.103 1st filter of speed detection", "Pr.103 第一速度檢出濾波器", "Pr.103 第一速度检测滤波器"), 0, 5, 0))
    at(20, P(N("Pr.104 1st time constant of torque filter", "Pr.104 第一轉矩濾波器時間常數", "Pr.104 第一转矩滤波器时间常数"), 25, 2500, 84, "0.01ms"))
    at(21, P(N("Pr.105 2nd gain of position loop", "Pr.105 第二位置迴路增益", "Pr.105 第二位置环增益"), 0, 2000, 570, "0.1/s"))
    at(22, P(N("Pr.106 2nd gain of velocity loop", "Pr.106 第二速度迴路增益", "Pr.106 第二速度环增益"), 1, 3500, 270, "0.1Hz"))
    at(23, P(N("Pr.107 2nd velocity integration time constant", "Pr.107 第二速度積分時間常數", "Pr.107 第二速度积分时间常数"), 1, 1000, 1000, "0.1ms"))
    at(24, P(N("Pr.108 2nd filter of speed detection", "Pr.108 第二速度檢出濾波器", "Pr.108 第二速度检测滤波器"), 0, 5, 0))
    at(25, P(N("Pr.109 2nd time constant of torque filter", "Pr.109 第二轉矩濾波器時間常數", "Pr.109 第二转矩滤波器时间常数"), 25, 2500, 84, "0.01ms"))
    at(26, P(N("Pr.110 Velocity feed forward gain", "Pr.110 速度前饋增益", "Pr.110 速度前馈增益"), 0, 1000, 300, "0.1%"))
    at(27, P(N("Pr.111 Velocity feed forward filter", "Pr.111 速度前饋濾波器", "Pr.111 速度前馈滤波器"), 0, 6400, 50, "0.01ms"))
    at(28, P(N("Pr.112 Torque feed forward gain", "Pr.112 轉矩前饋增益", "Pr.112 转矩前馈增益"), 0, 1000, 0, "0.1%"))
    at(29, P(N("Pr.114 Gain switching mode", "Pr.114 增益切換模式", "Pr.114 增益切换模式"), 0, 10, 0))
    at(30, P(N("Pr.115 Gain switching delay", "Pr.115 增益切換延遲", "Pr.115 增益切换延迟"), 0, 10000, 50, "0.1ms"))
    at(31, P(N("Pr.116 Gain switching level", "Pr.116 增益切換準位", "Pr.116 增益切换电平"), 0, 20000, 50))
    # 32..47: inertia, internal position run registers, speed settings.
    at(32, P(N("Pr.004 Inertia ratio", "Pr.004 慣量比", "Pr.004 惯量比"), 0, 10000, 250, "%"))
    at(33, P(N("Pr.005 Command pulse input selection", "Pr.005 指令脈波輸入選擇", "Pr.005 指令脉冲输入选择"), 0, 1, 0))
    at(34, P(N("Pr.036 Acceleration time", "Pr.036 加速時間", "Pr.036 加速时间"), 0, 10000, 100, "ms/(1000r/min)"))
    at(35, P(N("Pr.037 Deceleration time", "Pr.037 減速時間", "Pr.037 减速时间"), 0, 10000, 100, "ms/(1000r/min)"))
    at(36, P(N("Pr.200 Internal position end point", "Pr.200 內部位置終點", "Pr.200 内部位置终点"), 0, 15, 0))
    at(37, P(N("Pr.038 S-curve time", "Pr.038 S 形加減速時間", "Pr.038 S 形加减速时间"), 0, 1000, 0, MS))
    at(38, P(N("Pr.040 Zero speed clamp level", "Pr.040 零速箝位準位", "Pr.040 零速钳位电平"), 10, 20000, 30, RPM))
    at(39, P(N("Pr.041 Positioning complete range", "Pr.041 定位完成範圍", "Pr.041 定位完成范围"), 0, 32767, 10, "pulse"))
    at(40, P(N("Pr.043 Zero speed detection level", "Pr.043 零速度檢出準位", "Pr.043 零速检出电平"), 10, 20000, 50, RPM))
    at(41, P(N("Pr.044 At-speed level", "Pr.044 到達速度準位", "Pr.044 速度到达电平"), 10, 20000, 1000, RPM))
    at(42, P(N("Pr.046 Brake release speed", "Pr.046 煞車釋放速度", "Pr.046 制动器释放速度"), 30, 3000, 30, RPM))
    at(43, P(N("Pr.057 Overspeed level", "Pr.057 過速度準位", "Pr.057 过速度电平"), 0, 20000, 0, RPM))
    at(44, P(N("Pr.058 Overload level", "Pr.058 過負載準位", "Pr.058 过载电平"), 0, 500, 0, "%"))
    at(45, P(N("Pr.051 Sequence at alarm", "Pr.051 異警時動作", "Pr.051 报警时动作"), 0, 3, 0, items=STOP_SEQ))
    at(46, P(N("Pr.201 Internal position dwell time", "Pr.201 內部位置停留時間", "Pr.201 内部位置停留时间"), 0, 32767, 0, MS))
    at(47, P(N("Pr.202 Internal position motion command", "Pr.202 內部位置運轉指令", "Pr.202 内部位置运转指令"), 0, 2, 0, items=MOTION_CMD))
    # 48..63: filters.
    for n in range(1, 5):
        base = 48 + (n - 1) * 3
        at(base, P(numbered("Notch filter {n} frequency", "陷波濾波器 {n} 頻率", "陷波滤波器 {n} 频率", n), 50, 5000, 5000, "Hz"))
        at(base + 1, P(numbered("Notch filter {n} width", "陷波濾波器 {n} 寬度", "陷波滤波器 {n} 宽度", n), 0, 20, 2))
        at(base + 2, P(numbered("Notch filter {n} depth", "陷波濾波器 {n} 深度", "陷波滤波器 {n} 深度", n), 0, 99, 0))
    at(60, P(N("Adaptive filter mode", "自適應濾波器模式", "自适应滤波器模式"), 0, 4, 1))
    at(61, P(N("Vibration suppression frequency", "制振頻率", "减振频率"), 0, 2000, 0, "0.1Hz"))
    at(62, P(N("Vibration suppression filter", "制振濾波器", "减振滤波器"), 0, 1000, 0, "0.1Hz"))
    at(63, P(N("Position command smoothing filter", "位置指令平滑濾波器", "位置指令平滑滤波器"), 0, 10000, 0, "0.1ms"))
    # 64..79: digital inputs (Dio: reassigned by the internal position modes),
    # electronic gear, torque limits.
    for n in range(1, 9):
        address = 63 + n if n <= 6 else 64 + n  # 70 is the gear denominator
        at(address, P(numbered("DI{n} input function", "DI{n} 輸入功能", "DI{n} 输入功能", n), 0, 9,
                      [1, 2, 3, 4, 5, 6, 7, 9][n - 1], reboot=1, dio=1, items=DI_FUNCS))
    at(70, P(N("Pr.010 Electronic gear denominator", "Pr.010 電子齒輪比分母", "Pr.010 电子齿轮比分母"), 1, 32767, 1))
    at(73, P(N("DI input logic inversion", "DI 輸入邏輯反轉", "DI 输入逻辑反转"), 0, 255, 0, dio=1))
    at(74, P(N("DI input filter", "DI 輸入濾波器", "DI 输入滤波器"), 0, 100, 2, MS))
    at(75, P(N("Pr.009 Electronic gear numerator", "Pr.009 電子齒輪比分子", "Pr.009 电子齿轮比分子"), 1, 32767, 1))
    at(76, P(N("Positive direction torque limit", "正方向轉矩限制", "正方向转矩限制"), 0, 500, 300, "%"))
    at(77, P(N("Negative direction torque limit", "反方向轉矩限制", "反方向转矩限制"), 0, 500, 300, "%"))
    at(78, P(N("Speed limit in torque control", "轉矩控制速度限制", "转矩控制速度限制"), 0, 6000, 1000, RPM))
    at(79, P(N("Torque limit selection", "轉矩限制選擇", "转矩限制选择"), 0, 6, 1))
    # 80..95: outputs and the internal position point speeds 1..4, jog speed,
    # point acceleration and deceleration (83..89).
    for n in range(1, 4):
        at(79 + n, P(numbered("DO{n} output function", "DO{n} 輸出功能", "DO{n} 输出功能", n), 0, 9, n, reboot=1, dio=1, items=DO_FUNCS))
    for n in range(1, 5):
        at(82 + n, P(numbered("Point {n} speed", "位置點 {n} 速度", "位置点 {n} 速度", n), 1, 6000, 100 * n, RPM))
    at(87, P(N("Jog speed", "寸動速度", "点动速度"), 0, 6000, 100, RPM))
    at(88, P(N("Point acceleration time", "位置點加速時間", "位置点加速时间"), 1, 10000, 100, MS))
    at(89, P(N("Point deceleration time", "位置點減速時間", "位置点减速时间"), 1, 10000, 100, MS))
    at(90, P(N("DO output logic inversion", "DO 輸出邏輯反轉", "DO 输出逻辑反转"), 0, 7, 0, dio=1))
    at(91, P(N("Mechanical brake delay at stall", "停止時煞車動作延遲", "停止时制动器动作延迟"), 0, 10000, 0, MS))
    at(92, P(N("Mechanical brake delay in motion", "運轉時煞車動作延遲", "运转时制动器动作延迟"), 0, 10000, 0, MS))
    at(93, P(N("Analog monitor 1 type", "類比監視 1 種類", "模拟监视 1 种类"), 0, 21, 0))
    at(94, P(N("Analog monitor 2 type", "類比監視 2 種類", "模拟监视 2 种类"), 0, 21, 4))
    at(95, P(N("Initial status display", "初始狀態顯示", "初始状态显示"), 0, 40, 1))
    # 96..111: speed and torque command settings.
    for n in range(1, 5):
        at(95 + n, P(numbered("Internal speed {n}", "內部速度 {n}", "内部速度 {n}", n), -6000, 6000, 0, RPM))
    at(100, P(N("Speed command input gain", "速度指令輸入增益", "速度指令输入增益"), 10, 2000, 500, "(r/min)/V"))
    at(101, P(N("Speed command offset", "速度指令偏移", "速度指令偏移"), -2047, 2047, 0, "0.3mV"))
    at(102, P(N("Speed command filter", "速度指令濾波器", "速度指令滤波器"), 0, 6400, 0, "0.01ms"))
    at(103, P(N("Torque command input gain", "轉矩指令輸入增益", "转矩指令输入增益"), 10, 100, 30, "0.1V/100%"))
    at(104, P(N("Torque command offset", "轉矩指令偏移", "转矩指令偏移"), -2047, 2047, 0, "0.3mV"))
    at(105, P(N("Torque command filter", "轉矩指令濾波器", "转矩指令滤波器"), 0, 6400, 0, "0.01ms"))
    for n in range(1, 5):
        at(105 + n, P(numbered("Internal torque {n}", "內部轉矩 {n}", "内部转矩 {n}", n), -300, 300, 0, "%"))
    at(110, P(N("Zero speed clamp function", "零速箝位功能", "零速钳位功能"), 0, 3, 0, items=OFF_ON))
    at(111, P(N("Speed coincidence range", "速度一致範圍", "速度一致范围"), 10, 20000, 50, RPM))
    # 112..127: the point speeds 5..8 (116..119) among special settings.
    at(112, P(N("Main power off detection time", "主電源斷電檢出時間", "主电源断电检测时间"), 70, 2000, 70, MS))
    at(113, P(N("Undervoltage alarm selection", "欠電壓異警選擇", "欠电压报警选择"), 0, 1, 1))
    at(114, P(N("Overtravel inhibit setup", "驅動禁止設定", "驱动禁止设定"), 0, 2, 1, reboot=1))
    at(115, P(N("Emergency stop input setup", "緊急停止輸入設定", "紧急停止输入设定"), 0, 1, 1, items=OFF_ON))
    for n in range(5, 9):
        at(111 + n, P(numbered("Point {n} speed", "位置點 {n} 速度", "位置点 {n} 速度", n), 1, 6000, 100 * n, RPM))
    at(120, P(N("Encoder zero position compensation", "編碼器零點補償", "编码器零点补偿"), -32768, 32767, 0, "pulse"))
    at(121, P(N("Current response setup", "電流響應設定", "电流响应设定"), 10, 300, 100, "%"))
    at(122, P(N("Servo off deviation clear", "伺服關閉偏差清除", "伺服关闭偏差清零"), 0, 1, 1, items=OFF_ON))
    at(123, P(N("Disturbance observer gain", "外擾觀測器增益", "扰动观测器增益"), 0, 100, 0, "%"))
    at(124, P(N("Friction compensation", "摩擦補償", "摩擦补偿"), -100, 100, 0, "%"))
    for a in range(125, 128):
        at(a, P(RESERVED, 0, 0, 0, reserved=1))
    assert sorted(regs) == list(range(128)), "registers 0..127 must all be parameters"
    params = [regs[a] for a in range(128)]
    # 128..143: the 32-bit point positions at 200, 202, ..., 230.
    for n in range(1, 17):
        p = P(numbered("Point {n} position", "位置點 {n} 位置", "位置点 {n} 位置", n), -2147483647, 2147483647, 0, "pulse")
        p.address = 198 + 2 * n
        params.append(p)
    # 144..151: point speeds 9..16 at 720..727.
    for n in range(9, 17):
        p = P(numbered("Point {n} speed", "位置點 {n} 速度", "位置点 {n} 速度", n), 1, 6000, 100 * (n - 8), RPM)
        p.address = 711 + n
        params.append(p)
    # 152..167: homing and limits from 1200 on (1201, 1217 and 1219 are split
    # 32-bit values whose high words lie at 1202, 1218 and 1220).
    homing = [
        (1200, N("Homing mode", "原點復歸模式", "原点回归模式"), 0, 8, 0, "-", HOMING_MODES),
        (1201, N("Homing offset", "原點偏移量", "原点偏移量"), -2147483647, 2147483647, 0, "pulse", ()),
        (1203, N("Homing speed", "原點復歸速度", "原点回归速度"), 1, 2000, 100, RPM, ()),
        (1204, N("Homing creep speed", "原點復歸爬行速度", "原点回归爬行速度"), 1, 500, 20, RPM, ()),
        (1205, N("Homing acceleration time", "原點復歸加速時間", "原点回归加速时间"), 1, 10000, 100, MS, ()),
        (1206, N("Homing deceleration time", "原點復歸減速時間", "原点回归减速时间"), 1, 10000, 100, MS, ()),
        (1207, N("Jog acceleration time", "寸動加速時間", "点动加速时间"), 1, 10000, 100, MS, ()),
        (1208, N("Jog deceleration time", "寸動減速時間", "点动减速时间"), 1, 10000, 100, MS, ()),
        (1209, N("On-position delay time", "到位延遲時間", "到位延迟时间"), 0, 10000, 0, MS, ()),
        (1210, N("Homing time-out", "原點復歸逾時", "原点回归超时"), 0, 32767, 0, "0.1s", ()),
        (1211, N("Homing complete output width", "原點復歸完成輸出寬度", "原点回归完成输出宽度"), 0, 10000, 100, MS, ()),
        (1215, N("Bump torque limit", "撞擊轉矩限制", "撞击转矩限制"), 0, 300, 100, "%", ()),
        (1216, N("Bump detection time", "撞擊檢出時間", "撞击检出时间"), 0, 10000, 100, MS, ()),
        (1217, N("Soft limit, positive", "軟體正極限", "软件正限位"), -2147483647, 2147483647, 2147483647, "pulse", ()),
        (1219, N("Soft limit, negative", "軟體負極限", "软件负限位"), -2147483647, 2147483647, -2147483647, "pulse", ()),
        (1221, N("DI combine-in delay time", "DI 組合輸入延遲時間", "DI 组合输入延迟时间"), 0, 1000, 2, MS, ()),
    ]
    for address, name, lo, hi, d, unit, items in homing:
        p = P(name, lo, hi, d, unit, items=items)
        p.address = address
        params.append(p)
    assert len(params) == 168
    return params


def attr_lines(p, t8):
    out = []
    if p.reboot:
        out.append("reboot=1")
    if t8:
        out.append(f"reserved={p.reserved}")
        if p.dio:
            out.append("Dio=1")
    else:
        if p.reserved:
            out.append("reserved=1")
        if p.atlock:
            out.append("atlock=1")
        if p.io:
            out.append("io=1")
    return out


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def emit_t5(table_id, params, linear, title):
    par = [f"; {title}: parameter definitions, table {table_id}",
           "; Section Pr<number>, number = group * 100 + index.", ""]
    for number in sorted(params):
        p = params[number]
        par.append(f"[Pr{number:03d}]")
        par += [f"min={p.lo}", f"max={p.hi}", f"default={p.default}", f"unit={p.unit}", "E=0"]
        if linear and p.unit1:
            par.append(f"unit1={p.unit1}")
        if linear:
            par.append("E1=0")
        par += attr_lines(p, False)
        par += ["mode=127", "cmt=", ""]
    write(os.path.join(ROOT, "data", table_id + ".par"), par)
    for li, lang in enumerate(LANGS):
        dsc = [f"; {title}: parameter names ({lang})", ""]
        for number in sorted(params):
            p = params[number]
            dsc.append(f"[Pr{number:03d}]")
            dsc.append(f"name={p.name[li]}")
            if linear and p.name1:
                dsc.append(f"name1={p.name1[li]}")
            for k, item in enumerate(p.items[:10]):
                dsc.append(f"item{k}={item[li]}")
            dsc.append("")
        write(os.path.join(ROOT, "data", "Language", "Knobset", lang, f"{table_id}{lang}.dsc"), dsc)


def emit_t8(params):
    par = ["; Rotary T8: parameter definitions, table rk_905",
           "; Address = the Modbus holding register of the parameter.", ""]
    for number, p in enumerate(params):
        par.append(f"[Pr{number:03d}]")
        par += [f"Address={p.address}", f"min={p.lo}", f"max={p.hi}", f"unit={p.unit}",
                f"default={p.default}"]
        par += attr_lines(p, True)
        par.append("")
    write(os.path.join(ROOT, "data", "rk_905.par"), par)
    for li, lang in enumerate(LANGS):
        dsc = [f"; Rotary T8: parameter names ({lang})", ""]
        for number, p in enumerate(params):
            dsc.append(f"[Pr{number:03d}]")
            dsc.append(f"name={p.name[li]}")
            for k, item in enumerate(p.items[:10]):
                dsc.append(f"item{k}={item[li]}")
            dsc.append("")
        write(os.path.join(ROOT, "data", "Language", "Knobset", lang, f"rk_905{lang}.dsc"), dsc)


if __name__ == "__main__":
    emit_t5("hq_417", t5_tables(False), False, "Rotary T5")
    emit_t5("Whq_417", t5_tables(True), True, "Linear W5")
    emit_t8(t8_tables())
