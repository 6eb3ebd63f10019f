"""What the pipe part catalogue holds: categories, their layers, and the part
sheets with the part drawn in each cell.

A category is one line of the category list.  Its classifications each have
a part sheet of 5 x 4 cells; a populated cell names a part kind of
fittings.py, its drawing parameters and which size combinations exist:

  "equal"      main size = branch size, every size of the category's table;
  "branching"  the equal sizes, and a smaller branch size (reducing tee,
               reducing socket) down to REDUCING_STEPS sizes below the main;
  "reducing"   only a smaller branch size (a reducer has no equal-size form).

Categories that share a sheet prefix share the sheet pictures, so they share
a sheet layout: the same cells in the same places.
"""

REDUCING_STEPS = 4

SOLID_TYPE, HIDDEN_TYPE, CENTRE_TYPE = 1, 2, 3  # line type numbers of SenSyu.ini


class Cell:
    """One populated cell: `family` is the first letter of its part code."""

    def __init__(self, family, name, part, sizes="equal", **params):
        self.family, self.name, self.kind, self.sizes = family, name, part, sizes
        self.params = params
        self.code = None  # assigned by Layout


class Layout:
    """The cells of one classification's sheet, in cell order (None = empty), and
    the sheet's title."""

    def __init__(self, caption, cells, digit="0"):
        self.caption = caption
        self.cells = list(cells) + [None] * (20 - len(cells))
        assert len(self.cells) == 20
        self.digit = digit

    def assign_codes(self, classification):
        used = {}
        for cell in self.cells:
            if cell is None:
                continue
            stem = "%s%d%s" % (cell.family, classification, self.digit)
            n = used.get(stem, 0)
            used[stem] = n + 1
            cell.code = stem + chr(ord("A") + n)


class Category:
    def __init__(self, index, name, material, letter, prefix, folder, number, joint, layer,
                 colour, layouts):
        self.index, self.name, self.material, self.letter = index, name, material, letter
        self.prefix, self.folder, self.joint = prefix, folder, joint
        self._number = number
        self.layer, self.colour = layer, colour
        self.layouts = layouts  # classification (1..6) -> Layout

    def number(self, classification):
        if callable(self._number):
            return self._number(classification)
        return self._number

    def attributes(self):
        """The category's line of TugiteSet.ini: solid, hidden and centre line groups."""
        return "%s-%d-%d,%s_HID-%d-8,%s_CEN-%d-1" % (self.layer, SOLID_TYPE, self.colour,
                                                    self.layer, HIDDEN_TYPE, self.layer,
                                                    CENTRE_TYPE)


C = Cell


# -- sheet layouts ------------------------------------------------------------
def _layouts_ts():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "45°エルボ", "elbow", theta=45.0),
            C("L", "90°大曲がりエルボ", "elbow", theta=90.0, kind="long"),
            C("A", "座付水栓エルボ", "faucet_elbow")]),
        2: Layout("ティ－ズ", [
            C("T", "チーズ(異径)", "tee", "branching"),
            C("T", "クロス", "tee", branches=(90.0, 270.0))]),
        3: Layout("ソケット・フランジ", [
            C("S", "ソケット(異径)", "socket", "branching"),
            C("A", "バルブ用ソケット", "adapter", male=True),
            C("A", "水栓用ソケット", "adapter", male=False),
            C("C", "キャップ", "cap"),
            C("F", "フランジ(10K)", "flange")]),
    }


def _layouts_dv():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ(DL)", "elbow", theta=90.0),
            C("L", "90°大曲がりエルボ(LL)", "elbow", theta=90.0, kind="long")]),
        2: Layout("45度エルボ・ＬＴ", [
            C("L", "45°エルボ", "elbow", theta=45.0),
            C("T", "大曲がりT(LT)", "tee", "branching", sweep=True)]),
        3: Layout("ＤＴ・Ｙ", [
            C("T", "DT", "tee", "branching"),
            C("Y", "45°Y", "y", "branching"),
            C("Y", "両Y", "y", "branching", double=True)]),
        4: Layout("ソケット", [
            C("S", "ソケット(インクリーザー)", "socket", "branching"),
            C("C", "掃除口キャップ", "cap")]),
    }


def _layouts_md():
    # Shared by both mechanical drainage joint patterns (MD_ sheets).
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "90°大曲がりエルボ", "elbow", theta=90.0, kind="long")]),
        2: Layout("45度エルボ・ＴＹ", [
            C("L", "45°エルボ", "elbow", theta=45.0),
            C("T", "90°Y(TY)", "tee", "branching", sweep=True),
            C("T", "両TY", "tee", "branching", sweep=True, branches=(90.0, 270.0))]),
        3: Layout("ＳＴ・Ｙ", [
            C("T", "T(ST)", "tee", "branching"),
            C("Y", "45°Y", "y", "branching"),
            C("Y", "両Y", "y", "branching", double=True)]),
        4: Layout("ソケット", [
            C("S", "ソケット(異径)", "socket", "branching"),
            C("C", "掃除口", "cap")]),
    }


def _layouts_dr():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "90°ストリートエルボ", "elbow", theta=90.0, ends=("end", "spigot"))]),
        2: Layout("45度エルボ・ＴＹ", [
            C("L", "45°エルボ", "elbow", theta=45.0),
            C("T", "90°Y(TY)", "tee", "branching", sweep=True)]),
        3: Layout("ＳＴ・Ｙ", [
            C("T", "T(ST)", "tee", "branching"),
            C("Y", "45°Y", "y", "branching")]),
        4: Layout("ソケット", [
            C("S", "ソケット(異径)", "socket", "branching"),
            C("C", "プラグ", "cap", plug=True)]),
    }


def _layouts_weld():
    return {
        1: Layout("ロングエルボ", [
            C("L", "90°ロングエルボ", "elbow", theta=90.0, kind="long"),
            C("L", "45°ロングエルボ", "elbow", theta=45.0, kind="long")]),
        2: Layout("ショートエルボ", [
            C("L", "90°ショートエルボ", "elbow", theta=90.0, kind="short")]),
        3: Layout("ティーズ・レジュ－サ－", [
            C("T", "ティー(レジューシング)", "tee", "branching"),
            C("R", "同心レジューサー", "reducer", "reducing"),
            C("R", "偏心レジューサー", "reducer", "reducing", eccentric=True),
            C("C", "キャップ", "cap")]),
        4: Layout("5K・10Kフランジ", [
            C("F", "5Kフランジ", "flange", rating="5K"),
            C("F", "10Kフランジ", "flange", rating="10K"),
            C("F", "5K閉止フランジ", "flange", rating="5K", blind=True),
            C("F", "10K閉止フランジ", "flange", rating="10K", blind=True)]),
        5: Layout("20Kフランジ", [
            C("F", "20Kフランジ", "flange", rating="20K"),
            C("F", "20K閉止フランジ", "flange", rating="20K", blind=True)]),
    }


def _layouts_screw():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "45°エルボ", "elbow", theta=45.0),
            C("L", "90°ストリートエルボ", "elbow", theta=90.0, ends=("end", "spigot"))]),
        2: Layout("ティ－ズ", [
            C("T", "チーズ(異径)", "tee", "branching"),
            C("T", "クロス", "tee", branches=(90.0, 270.0))]),
        3: Layout("ソケット", [
            C("S", "ソケット(異径)", "socket", "branching"),
            C("U", "ユニオン", "socket", middle="union"),
            C("N", "六角ニップル", "nipple", "branching")]),
        4: Layout("補助部材・フランジ", [
            C("C", "キャップ", "cap"),
            C("C", "プラグ", "cap", plug=True),
            C("F", "ねじ込みフランジ(10K)", "flange")]),
    }


def _layouts_cu():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "45°エルボ", "elbow", theta=45.0)]),
        2: Layout("ティ－ズ", [
            C("T", "チーズ(異径)", "tee", "branching")]),
        3: Layout("ソケット", [
            C("S", "ソケット(異径)", "socket", "branching"),
            C("C", "キャップ", "cap"),
            C("A", "おねじアダプター", "adapter", male=True),
            C("A", "めねじアダプター", "adapter", male=False)]),
    }


def _layouts_lined():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "45°エルボ", "elbow", theta=45.0)]),
        2: Layout("ティ－ズ・ソケット", [
            C("T", "チーズ(異径)", "tee", "branching"),
            C("S", "ソケット(異径)", "socket", "branching"),
            C("U", "ユニオン", "socket", middle="union")]),
    }


def _layouts_sus_nut():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "45°エルボ", "elbow", theta=45.0)]),
        2: Layout("ティ－ズ・ソケット", [
            C("T", "チーズ(異径)", "tee", "branching"),
            C("S", "ソケット(異径)", "socket", "branching"),
            C("C", "キャップ", "cap")]),
        3: Layout("水栓継手", [
            C("A", "座付水栓エルボ", "faucet_elbow"),
            C("A", "水栓ソケット", "adapter", male=False),
            C("A", "おねじアダプター", "adapter", male=True)]),
    }


def _layouts_sus_press():
    return {
        1: Layout("エルボ", [
            C("L", "90°エルボ", "elbow", theta=90.0),
            C("L", "45°エルボ", "elbow", theta=45.0)]),
        2: Layout("片ソケットエルボ", [
            C("L", "90°片ソケットエルボ", "elbow", theta=90.0, ends=("end", "spigot")),
            C("L", "45°片ソケットエルボ", "elbow", theta=45.0, ends=("end", "spigot"))]),
        3: Layout("ティ－ズ・ソケット", [
            C("T", "チーズ(異径)", "tee", "branching"),
            C("S", "ソケット(異径)", "socket", "branching"),
            C("C", "キャップ", "cap")]),
        4: Layout("鋼管接続継手", [
            C("A", "おねじアダプター", "adapter", male=True),
            C("A", "めねじアダプター", "adapter", male=False)]),
        5: Layout("水栓継手", [
            C("A", "座付水栓エルボ", "faucet_elbow"),
            C("A", "水栓ソケット", "adapter", male=False)]),
    }


def _layouts_flange():
    return {
        1: Layout("エルボ", [
            C("L", "90°フランジエルボ", "elbow", theta=90.0),
            C("L", "45°フランジエルボ", "elbow", theta=45.0)]),
        2: Layout("ティ－ズ・レジュ－サ－", [
            C("T", "フランジティー(異径)", "tee", "branching"),
            C("R", "フランジレジューサー", "reducer", "reducing")]),
    }


def _layouts_cast_iron_1():
    # C1_ sheets: standard drain fittings.
    return {
        1: Layout("90°長曲管,短曲管", [
            C("L", "90°長曲管", "elbow", theta=90.0, kind="long", ends=("end", "spigot")),
            C("L", "90°短曲管", "elbow", theta=90.0, kind="short", ends=("end", "spigot"))]),
        2: Layout("両受け90°長曲管", [
            C("L", "両受90°長曲管", "elbow", theta=90.0, kind="long"),
            C("L", "両受90°短曲管", "elbow", theta=90.0, kind="short")]),
        3: Layout("45°曲管", [
            C("L", "45°曲管", "elbow", theta=45.0, kind="long", ends=("end", "spigot")),
            C("L", "両受45°曲管", "elbow", theta=45.0, kind="long")]),
        4: Layout("90°Ｙ管,（TY,WTY）長ＴＹ", [
            C("T", "90°Y管(TY)", "tee", "branching", sweep=True),
            C("T", "両90°Y管(WTY)", "tee", "branching", sweep=True, branches=(90.0, 270.0))]),
        5: Layout("Ｔ管（ST）,Ｙ管（Y）", [
            C("T", "T管(ST)", "tee", "branching"),
            C("Y", "Y管(Y)", "y", "branching"),
            C("Y", "両Y管", "y", "branching", double=True)]),
        6: Layout("直管", [
            C("P", "直管 L=500", "straight", length=500.0),
            C("P", "直管 L=1000", "straight", length=1000.0),
            C("P", "直管 L=1600", "straight", length=1600.0)]),
    }


def _layouts_cast_iron_2():
    # C2_ sheets: connection and cleanout fittings.
    return {
        1: Layout("鉛管接続LTY,LY管", [
            C("T", "鉛管接続90°Y管(LTY)", "tee", "branching", sweep=True),
            C("Y", "鉛管接続Y管(LY)", "y", "branching")]),
        2: Layout("90°L曲管,L管,GS,ソケット,COT", [
            C("L", "90°L曲管", "elbow", theta=90.0, kind="short"),
            C("S", "ソケット(異径)", "socket", "branching"),
            C("T", "掃除口付T管(COT)", "tee", "branching")]),
        3: Layout("塩ビ管用VST(1)", [
            C("R", "塩ビ管用VST片落管", "reducer", "reducing"),
            C("L", "塩ビ管用VST90°曲管", "elbow", theta=90.0, kind="short")]),
        4: Layout("塩ビ管用VST(2)", [
            C("T", "塩ビ管用VST T管", "tee", "branching"),
            C("Y", "塩ビ管用VST Y管", "y", "branching")]),
        5: Layout("CO付90°長曲管（台付）", [
            C("L", "CO付90°長曲管(台付)", "cleanout_bend"),
            C("L", "CO付90°長曲管", "cleanout_bend", foot=False)]),
        6: Layout("CO付90°両受長曲管（台付）", [
            C("L", "CO付90°両受長曲管(台付)", "cleanout_bend", both_hubs=True),
            C("L", "CO付90°両受長曲管", "cleanout_bend", both_hubs=True, foot=False)]),
    }


def _layouts_bronze_valves():
    return {
        1: Layout("ゲート弁(JIS-5K/10K)", [
            C("V", "青銅仕切弁 5K", "valve", kind="gate", rating="5K"),
            C("V", "青銅仕切弁 10K", "valve", kind="gate", rating="10K")]),
        2: Layout("グローブ弁(JIS-5K/10K)", [
            C("V", "青銅玉形弁 5K", "valve", kind="globe", rating="5K"),
            C("V", "青銅玉形弁 10K", "valve", kind="globe", rating="10K")]),
        3: Layout("チェッキ弁･Ｙ形ストレーナー", [
            C("V", "青銅スイング逆止弁 10K", "valve", kind="check"),
            C("V", "青銅Y形ストレーナー", "valve", kind="strainer")]),
        4: Layout("ボール弁", [
            C("V", "ボール弁", "valve", kind="ball")]),
    }


def _layouts_iron_valves():
    return {
        1: Layout("ゲート弁(JIS-5K/10K)", [
            C("V", "鋳鉄仕切弁 5K", "valve", kind="gate", ends="flange", rating="5K"),
            C("V", "鋳鉄仕切弁 10K", "valve", kind="gate", ends="flange", rating="10K")]),
        2: Layout("グローブ弁・チェッキ弁(JIS-10K)", [
            C("V", "鋳鉄玉形弁 10K", "valve", kind="globe", ends="flange"),
            C("V", "鋳鉄スイング逆止弁 10K", "valve", kind="check", ends="flange")]),
        3: Layout("Ｙ形ストレーナー(JIS-10K)", [
            C("V", "鋳鉄Y形ストレーナー 10K", "valve", kind="strainer", ends="flange")]),
    }


def _layouts_butterfly():
    return {
        1: Layout("バタフライ弁 レバー式", [
            C("V", "バタフライ弁 アルミ製 レバー式", "valve", kind="butterfly", ends="wafer")]),
        2: Layout("バタフライ弁 大口径", [
            C("V", "バタフライ弁 ダクタイル製", "valve", kind="butterfly", ends="wafer")]),
        3: Layout("ウエハー形逆止弁", [
            C("V", "ウエハー形逆止弁", "valve", kind="wafer_check", ends="wafer")]),
    }


def _layouts_control_valves():
    return {
        1: Layout("減圧弁", [
            C("V", "減圧弁(ねじ込み)", "valve", kind="prv"),
            C("V", "減圧弁(フランジ)", "valve", kind="prv", ends="flange")]),
        2: Layout("安全弁", [
            C("V", "安全弁", "valve", kind="safety")]),
        3: Layout("電動弁", [
            C("V", "電動二方弁(ねじ込み)", "valve", kind="motor"),
            C("V", "電動二方弁(フランジ)", "valve", kind="motor", ends="flange")]),
        4: Layout("定水位弁", [
            C("V", "定水位弁", "valve", kind="level", ends="flange")]),
    }


def _layouts_flexible():
    return {
        1: Layout("SUSユニオン型フレキ", [
            C("X", "ユニオン型フレキ L=300", "flex", kind="bellows", ends="union", length=300.0),
            C("X", "ユニオン型フレキ L=500", "flex", kind="bellows", ends="union", length=500.0),
            C("X", "ユニオン型フレキ L=1000", "flex", kind="bellows", ends="union",
              length=1000.0)]),
        2: Layout("SUSフランジ型フレキ", [
            C("X", "フランジ型フレキ L=300", "flex", kind="bellows", ends="flange", length=300.0),
            C("X", "フランジ型フレキ L=500", "flex", kind="bellows", ends="flange", length=500.0),
            C("X", "フランジ型フレキ L=1000", "flex", kind="bellows", ends="flange",
              length=1000.0)]),
        3: Layout("合成ゴム製フレキ", [
            C("X", "防振継手 シングル球", "flex", kind="sphere", ends="flange", length=None),
            C("X", "防振継手 ダブル球", "flex", kind="sphere2", ends="flange", length=None)]),
        4: Layout("伸縮継手", [
            C("X", "スリーブ形伸縮継手 単式", "flex", kind="sleeve", ends="flange", length=None),
            C("X", "スリーブ形伸縮継手 複式", "flex", kind="sleeve2", ends="flange",
              length=None)]),
    }


def _layouts_duct():
    return {
        1: Layout("1.0Rベンド(90度/45度)", [
            C("L", "90°ベンド 1.0R", "elbow", theta=90.0, kind="1.0R", gores=5),
            C("L", "45°ベンド 1.0R", "elbow", theta=45.0, kind="1.0R", gores=3)]),
        2: Layout("1.5Rベンド(90度/45度)", [
            C("L", "90°ベンド 1.5R", "elbow", theta=90.0, kind="1.5R", gores=5),
            C("L", "45°ベンド 1.5R", "elbow", theta=45.0, kind="1.5R", gores=3)]),
        3: Layout("T管・45度Y管", [
            C("T", "T管", "tee", "branching"),
            C("Y", "45°Y管", "y", "branching")]),
        4: Layout("ダンパー類・補助部材", [
            C("D", "風量調整ダンパー(VD)", "damper", kind="volume"),
            C("D", "逆流防止ダンパー(CD)", "damper", kind="check"),
            C("S", "差込継手(異径)", "socket", "branching"),
            C("C", "エンドキャップ", "cap")]),
    }


def _build():
    # Layouts are built once per sheet prefix, so that categories sharing
    # sheet pictures share cells (and codes).
    shared = {
        "MD_": _layouts_md(),
        "C1_": _layouts_cast_iron_1(),
        "C2_": None,
    }
    c2 = _layouts_cast_iron_2()
    for layout in c2.values():
        layout.digit = "5"  # C1_ and C2_ parts share the CK and CS folders
    shared["C2_"] = c2
    cats = [
        Category(0, "TS継手(塩ビ)", 2, "E", "TS_", "TS", "13", "ts", "VP_FIT", 4, _layouts_ts()),
        Category(1, "DV継手", 2, "E", "DV_", "DV", "14", "dv", "DV_FIT", 2, _layouts_dv()),
        Category(2, "鋼管MD継手(1)", 1, "K", "MD_", "MD1", "09", "md", "MD_FIT", 2, shared["MD_"]),
        Category(3, "鋼管MD継手(2)", 1, "K", "MD_", "MD2", "10", "md2", "MD_FIT", 2,
                 shared["MD_"]),
        Category(4, "ドレネージ継手", 1, "K", "DR_", "DR", "07", "dr", "DR_FIT", 2, _layouts_dr()),
        Category(5, "鋼管溶接継手", 1, "K", "YO_", "YT", "02", "weld", "WELD_FIT", 3,
                 _layouts_weld()),
        Category(6, "ねじ込み継手", 1, "K", "NE_", "NJ", "01", "screw", "SCREW_FIT", 4,
                 _layouts_screw()),
        Category(7, "銅管継手", 3, "D", "DO_", "DK", "17", "cu", "CU_FIT", 30, _layouts_cu()),
        Category(8, "管端防食継手", 1, "K", "KO_", "KT", "03", "lined", "LINED_FIT", 4,
                 _layouts_lined()),
        Category(9, "ステンレス拡管式継手", 5, "S", "NI_", "ST", "21", "sus_nut", "SUS_FIT", 140,
                 _layouts_sus_nut()),
        Category(10, "ステンレスプレス式継手", 5, "S", "MO_", "MO", "20", "sus_press", "SUS_FIT",
                 140, _layouts_sus_press()),
        Category(11, "フランジ継手", 1, "K", "FK_", "FT", "06", "flange", "FLANGE_FIT", 3,
                 _layouts_flange()),
        Category(12, "排水鋳鉄管継手メカ(1)", 4, "T", "C1_", "CK", "11", "ci", "CIP_FIT", 2,
                 shared["C1_"]),
        Category(13, "排水鋳鉄管継手メカ(2)", 4, "T", "C2_", "CK", "11", "ci", "CIP_FIT", 2,
                 shared["C2_"]),
        Category(14, "排水鋳鉄管継手差込(1)", 4, "T", "C1_", "CS", "12", "ci_push", "CIP_FIT", 2,
                 shared["C1_"]),
        Category(15, "排水鋳鉄管継手差込(2)", 4, "T", "C2_", "CS", "12", "ci_push", "CIP_FIT", 2,
                 shared["C2_"]),
        Category(16, "青銅弁", 1, "K", "BC_", "SDB", "22", "screw", "VALVE", 6,
                 _layouts_bronze_valves()),
        Category(17, "鋳鉄弁", 1, "K", "FC_", "CB", "22", "flange", "VALVE", 6,
                 _layouts_iron_valves()),
        Category(18, "バタフライ弁", 1, "K", "BF_", "BB", "22", "flange", "VALVE", 6,
                 _layouts_butterfly()),
        Category(19, "自動弁", 1, "K", "CL_", "SB", "22", "screw", "VALVE_AUTO", 6,
                 _layouts_control_valves()),
        Category(20, "フレキ・伸縮継手", 1, "K", "FJ_", "FS", lambda k: "05" if k == 4 else "24",
                 "screw", "FLEX", 5, _layouts_flexible()),
        Category(21, "スパイラルダクト継手", 0, "M", "SD_", "MDK", "25", "duct", "DUCT_FIT", 3,
                 _layouts_duct()),
    ]
    seen = set()
    for cat in cats:
        for k, layout in cat.layouts.items():
            if id(layout) not in seen:
                layout.assign_codes(k)
                seen.add(id(layout))
    return cats


CATEGORIES = _build()
