#!/usr/bin/env python3
"""Writes a calculation input CAL_TNK.DAT for the engine benchmark.

  gen_cal_tnk.py typical DIR   5 layers, 2 embankments, 3 loads, 3 positions
  gen_cal_tnk.py maximal DIR   500 points, 20 layers, 20 embankments (up to
                               100 vertices), 15 loads, 3 walls, 20 positions
                               in 5 stages
  gen_cal_tnk.py drained DIR   the maximal section with vertical drains in
                               every clay layer: 5 loaded stages and 20
                               drained consolidation units at most positions
  gen_cal_tnk.py full DIR      the editor's full capacity: the drained
                               section with 20 cuts, 500 points
"""
import math
import os
import sys


class Section:
    def __init__(self):
        self.points = []
        self.index = {}
        self.layers = []
        self.blocks = []
        self.loads = {"point": [], "line": [], "strip": []}
        self.walls = []
        self.positions = []
        self.cuts = []

    def pt(self, x, y):
        key = (round(x, 6), round(y, 6))
        if key not in self.index:
            self.points.append(key)
            self.index[key] = len(self.points)
        return self.index[key]

    def lines(self, title):
        out = []
        L = out.append
        L('"%s"' % title)
        for v in ("1000", "1", "0", "1", "1", "1", "1", "0"):
            L(v)
        L('%d,"計算位置数"' % len(self.positions))
        for i, (x, name) in enumerate(self.positions):
            L('%d,%s,"計算位置座標"' % (i + 1, num(x)))
            L('"%s"' % name)
        L('%d,"境界点数"' % len(self.points))
        for i, (x, y) in enumerate(self.points):
            L('%d,%s,%s,"境界点座標"' % (i + 1, num(x), num(y)))
        L('%d,"土層数"' % len(self.layers))
        for i, lay in enumerate(self.layers):
            L('%d,%d,"土層構成点数"' % (i + 1, len(lay["verts"])))
            for k, v in enumerate(lay["verts"]):
                L('%d,%d,"土層構成点番号"' % (k + 1, v))
            L('0,0,"ブロック中心"')
            L('%d,"土質"' % lay["kind"])
            L('%s,%d,"有効重量,Ｎ値"' % (num(lay["gamma"]), lay["n"]))
            L('%s,0,0,"圧縮指数"' % num(lay["cc"]))
            L('%d,"沈下計算方法"' % lay["method"])
            L('%d,"排水条件"' % lay["drainage"])
            L('%d,"促進工法"' % lay["drain"])
            L('%s,"工法詳細"' % ",".join(num(v) for v in lay["detail"]))
        L('%d,"盛土数"' % len(self.blocks))
        for i, b in enumerate(self.blocks):
            L('%d,%d,"盛土構成点数"' % (i + 1, len(b["verts"])))
            for k, v in enumerate(b["verts"]):
                L('%d,%d,"盛土構成点番号"' % (k + 1, v))
            L('0,0,"ブロック中心"')
            L('%s,"有効重量"' % num(b["gamma"]))
            L('%d,%d,%d,"段階荷重番号,施工開始日,施工日数"' % b["stage"])
        L('%d,"切土数"' % len(self.cuts))
        for i, c in enumerate(self.cuts):
            L('%d,%d,"切土構成点数"' % (i + 1, len(c["verts"])))
            for k, v in enumerate(c["verts"]):
                L('%d,%d,"切土構成点番号"' % (k + 1, v))
            L('0,0,"ブロック中心"')
            L('%s,"有効重量"' % num(c["gamma"]))
        L('%d,"土層数"' % len(self.layers))
        for i, lay in enumerate(self.layers):
            for head, label, pts in (("e-LogP曲線要素数", "e-LogP", lay["elogp"]),
                                     ("LogMv-LogP曲線要素数", "LogMv-LogP", lay["mv"]),
                                     ("LogCv-LogP曲線要素数", "LogCv-LogP", lay["cv"])):
                L('%d,%d,"%s"' % (i + 1, len(pts), head))
                for k, (p, v) in enumerate(pts):
                    L('%d,%s,%s,"%s"' % (k + 1, num(p), num(v), label))
        L('5,"BKHough曲線数"')
        for d in range(5):
            pts = [(10 * 10 ** (k / 4), 1.0 - 0.08 * d - 0.03 * k) for k in range(9)]
            L('%d,%d,"BKHough曲線要素数"' % (d + 1, len(pts)))
            L(str(d))
            for k, (p, v) in enumerate(pts):
                L('%d,%s,%s,"e-LogP"' % (k + 1, num(p), num(v)))
        for kind, head in (("point", "集中荷重数"), ("line", "線荷重数"), ("strip", "帯状荷重数")):
            L('%d,"%s"' % (len(self.loads[kind]), head))
            for i, ld in enumerate(self.loads[kind]):
                L('%d,%s,"荷重"' % (i + 1, num(ld["q"])))
                L('%s,%s,"位置"' % (num(ld["x1"]), num(ld["y1"])))
                if kind == "strip":
                    L('%s,%s,"終了位置"' % (num(ld["x2"]), num(ld["y2"])))
                L('%d,%d,%d,"段階荷重番号,施工開始日,施工日数"' % ld["stage"])
        L('%d,"矢板の数"' % len(self.walls))
        for x, top, bottom in self.walls:
            L('%s,%s,%s,"位置、天端、下端"' % (num(x), num(top), num(bottom)))
        return out


def num(v):
    if float(v) == int(v):
        return str(int(v))
    return repr(round(float(v), 6))


def soil(sec, verts, i, method, kind=0, drain=0, spacing=1.2):
    curve = lambda f: [(10 ** (k / 6.0), f(k)) for k in range(20)]
    sec.layers.append({
        "verts": verts, "kind": kind, "gamma": 16 + (i % 4), "n": 3 + 4 * i, "cc": 0.3 + 0.02 * i,
        "method": method, "drainage": i % 2, "drain": drain,
        "detail": [spacing, 0.05, 2, 1, 0, 0, 1] if drain else [0, 0, 0, 0, 0, 0, 1],
        "elogp": curve(lambda k: 2.4 - 0.07 * k),
        "mv": curve(lambda k: 0.05 * 10 ** (-k / 10.0)),
        "cv": curve(lambda k: 200 * 10 ** (-k / 20.0)),
    })


def mound(sec, x0, width, height, steps, stage, gamma=19, base_step=None):
    """An embankment on y = 0 whose crest is a smooth mound of `steps` points;
    base points every base_step metres (collinear, as where layers meet)."""
    top = []
    for k in range(steps):
        t = (k + 1) / (steps + 1)
        top.append((x0 + width * t, height * math.sin(math.pi * t) ** 0.5))
    base = []
    if base_step:
        n = int(round(width / base_step))
        base = [(x0 + width - base_step * k, 0) for k in range(1, n)]
    verts = [sec.pt(x0, 0)] + [sec.pt(x, y) for x, y in top] + [sec.pt(x0 + width, 0)]
    verts += [sec.pt(x, y) for x, y in base]
    sec.blocks.append({"verts": verts, "gamma": gamma, "stage": stage})


def typical():
    sec = Section()
    depths = [0, -2, -5, -9, -12, -20]
    for i in range(5):
        verts = [sec.pt(0, depths[i]), sec.pt(100, depths[i]), sec.pt(100, depths[i + 1]), sec.pt(0, depths[i + 1])]
        soil(sec, verts, i, [0, 1, 2, 0, 3][i], kind=1 if i == 4 else 0, drain=1 if i == 1 else 0)
    mound(sec, 20, 40, 4, 3, (1, 0, 30))
    mound(sec, 60, 30, 3, 2, (2, 60, 20))
    sec.loads["point"].append({"q": 200, "x1": 80, "y1": 0.5, "stage": (1, 0, 0)})
    sec.loads["line"].append({"q": 50, "x1": 10, "y1": 0.2, "stage": (2, 60, 10)})
    sec.loads["strip"].append({"q": 20, "x1": 70, "y1": 0, "x2": 90, "y2": 0, "stage": (1, 0, 10)})
    sec.positions = [(30, "No.1"), (50, "No.2"), (75, "No.3")]
    return sec


def maximal(drained=False, cuts=False):
    sec = Section()
    width = 400
    # Ground surface: a boundary point every 2 m, where the fills meet it.
    for k in range(0, width + 1, 2):
        sec.pt(k, 0)
    for i in range(20):
        ytop, ybot = -i, -(i + 1)
        if i == 0:
            top = [sec.pt(x, 0) for x in range(0, width + 1, 8)]
        else:
            top = [sec.pt(x, ytop) for x in range(0, width + 1, 100)]
        bottom = [sec.pt(x, ybot) for x in range(width, -1, -100)]
        method = [0, 1, 2, 0, 3][i % 5]
        kind = 1 if method == 3 else 0
        drain = 1 if i % 6 == 2 or (drained and kind == 0) else 0
        soil(sec, top + bottom, i, method, kind=kind, drain=drain, spacing=1.2 + 0.1 * (i % 4))
    # Fills side by side, never over one another (the engine refuses
    # embankments that overlap): two wide ones with a base point every 2 m,
    # and between them narrow ones of many crest points.
    mound(sec, 0, 160, 6, 19, (4, 200, 40), base_step=2)
    for i in range(18):
        mound(sec, 162 + 4 * i, 4, 2 + (i % 4), 8, (1 + i % 5, 30 * (i % 5), 20))
    mound(sec, 240, 160, 5, 17, (5, 300, 40), base_step=2)
    for i in range(5):
        st = (1 + i, 30 * i, 10)
        sec.loads["point"].append({"q": 100 + 20 * i, "x1": 30 + 70 * i, "y1": 4, "stage": st})
        sec.loads["line"].append({"q": 30 + 5 * i, "x1": 50 + 70 * i, "y1": 3, "stage": st})
        sec.loads["strip"].append({"q": 10 + 2 * i, "x1": 10 + 75 * i, "y1": 0, "x2": 40 + 75 * i, "y2": 0, "stage": st})
    sec.walls = [(100, 2, -25), (200, 2, -15), (300, 2, -25)]
    sec.positions = [(10 + 19.5 * i, "No.%d" % (i + 1)) for i in range(20)]
    if cuts:
        # Ground taken away before the fills: small mounds in the gaps
        # between them, and one cut into the top layer, using its points.
        for k in range(19):
            x = 20 * k + 18
            sec.cuts.append({"verts": [sec.pt(x, 0), sec.pt(x + 2, 0.5), sec.pt(x + 4, 0)], "gamma": 16})
        sec.cuts.append({"verts": [sec.pt(396, 0), sec.pt(400, 0), sec.pt(400, -1), sec.pt(300, -1)],
                         "gamma": 17})
    assert len(sec.points) <= 500, len(sec.points)
    assert max(len(b["verts"]) for b in sec.blocks) <= 100
    return sec


def main():
    kind, folder = sys.argv[1], sys.argv[2]
    if kind not in ("typical", "maximal", "drained", "full"):
        sys.exit(__doc__)
    sec = typical() if kind == "typical" else maximal(drained=(kind in ("drained", "full")), cuts=(kind == "full"))
    text = "\r\n".join(sec.lines("benchmark " + kind)) + "\r\n"
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "CAL_TNK.DAT"), "wb") as f:
        f.write(text.encode("cp932"))
    print("%s: %d points, %d layers, %d embankments (max %d vertices), %d cuts, %d positions" % (
        kind, len(sec.points), len(sec.layers), len(sec.blocks),
        max(len(b["verts"]) for b in sec.blocks), len(sec.cuts), len(sec.positions)))


if __name__ == "__main__":
    main()
