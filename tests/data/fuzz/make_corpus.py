#!/usr/bin/env python3
"""Writes the hostile seed files of the fuzz corpus (tests/data/fuzz/*/):
each a golden file with one fault that fuzzing found or that the readers
must refuse. Run from the repository root; the files are committed."""
import os

ROOT = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(ROOT)


def lines_of(path):
    with open(path, 'rb') as f:
        return f.read().decode('cp932').split('\r\n')[:-1]


def write(kind, name, text=None, lines=None, raw=None):
    os.makedirs(os.path.join(ROOT, kind), exist_ok=True)
    if raw is None:
        if lines is not None:
            text = ''.join(l + '\r\n' for l in lines)
        raw = text.encode('cp932')
    with open(os.path.join(ROOT, kind, name), 'wb') as f:
        f.write(raw)


def edit(lines, index, text):
    out = list(lines)
    out[index] = text
    return out


def find(lines, label, nth=0):
    for i, l in enumerate(lines):
        if label in l:
            if nth == 0:
                return i
            nth -= 1
    raise KeyError(label)


# Project files.
kov = lines_of(os.path.join(DATA, 'model', 'rich.kov'))
whole = ''.join(l + '\r\n' for l in kov)
write('kov', 'cut_in_last_number.kov', whole[:-3])
write('kov', 'junk_after_data.kov', whole + 'junk\r\n')
write('kov', 'method_65537.kov', lines=edit(kov, 109, '1,65537,1,0,15'))
write('kov', 'method_7.kov', lines=edit(kov, 109, '1,7,1,0,15'))
write('kov', 'line_load_1e303.kov', lines=edit(kov, 116, '45,0,0,0,1e303,2'))
write('kov', 'point_at_1e154.kov', lines=edit(kov, 14, '0,1e154'))
write('kov', 'title_lone_cr.kov', lines=edit(kov, 1, '○○地区\r盛土'))
write('kov', 'name_with_quote.kov', lines=edit(kov, 4, '地"点A,12.5'))
write('kov', 'seventeen_digits.kov', lines=edit(kov, 14, '0.30000000000000004,0'))

# Sand-curve tables.
sand = '2\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n20.0,1.100,1.000,0.900,0.800,0.700\r\n'
write('sand', 'cut_in_last_number.csv', sand[:-3])
write('sand', 'junk_after_data.csv', sand + 'x\r\n')
write('sand', 'more_decimals.csv', '1\r\n10.05,1.200,1.100,1.000,0.900,0.800\r\n')
write('sand', 'void_ratio_1e300.csv', '1\r\n10.0,1e300,1.100,1.000,0.900,0.800\r\n')
write('sand', 'count_65537.csv', '65537\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n')

# Observation files.
tlm = lines_of(os.path.join(DATA, 'predict', 'sample.tlm'))
tlm_whole = ''.join(l + '\r\n' for l in tlm)
write('tlm', 'title_with_quote.tlm', lines=edit(tlm, 1, '"業務名称",第2"工区'))
write('tlm', 'title_lone_cr.tlm', lines=edit(tlm, 1, '"業務名称","第2\r工区"'))
write('tlm', 'name_lone_cr.tlm', lines=edit(tlm, 11, '"名称",No.1\r測点'))
write('tlm', 'remark_with_quote.tlm', lines=edit(tlm, 16, '#2003-04-25#,0.5,盛土"開始,0'))
write('tlm', 'option_65537.tlm', lines=edit(tlm, 3, '"沈下オプション",65537'))
write('tlm', 'cut_in_last_number.tlm', tlm_whole[:-3])
write('tlm', 'junk_after_data.tlm', tlm_whole + 'junk\r\n')

# Calculation inputs.
cal = lines_of(os.path.join(DATA, 'engine_reports', 'full', 'CAL_TNK.DAT'))
cal_whole = ''.join(l + '\r\n' for l in cal)
point_pos = find(cal, '"位置"')
write('cal', 'point_load_at_1e103.dat', lines=edit(cal, point_pos, '5,1e103,"位置"'))
write('cal', 'line_load_at_1e103.dat', lines=edit(cal, find(cal, '"位置"', 1), '35,1e103,"位置"'))
write('cal', 'load_1e303.dat', lines=edit(cal, find(cal, '"荷重"'), '1,1e303,"荷重"'))
write('cal', 'drain_spacing_1e300.dat', lines=edit(cal, find(cal, '工法詳細'), '1e300,0.05,1,0.001,0,0,1,"工法詳細"'))
write('cal', 'kc_kw_1e308.dat', lines=edit(cal, find(cal, '工法詳細'), '1.2,0.05,1,1e308,0,0,1,"工法詳細"'))
write('cal', 'drain_diameter_1e-300.dat', lines=edit(cal, find(cal, '工法詳細'), '1.2,1e-300,1,0.001,0,0,1,"工法詳細"'))
write('cal', 'unit_weight_1e308.dat', lines=edit(cal, find(cal, '有効重量,Ｎ値'), '1e308,5,"有効重量,Ｎ値"'))
write('cal', 'point_at_1e154.dat', lines=edit(cal, find(cal, '境界点座標'), '1,0,1e154,"境界点座標"'))
write('cal', 'method_65537.dat', lines=edit(cal, find(cal, '沈下計算方法'), '65537,"沈下計算方法"'))
write('cal', 'method_7.dat', lines=edit(cal, find(cal, '沈下計算方法'), '7,"沈下計算方法"'))
walled = ''.join(l + '\r\n' for l in cal[:-1] + ['1,"矢板の数"', '38,1,-25'])
write('cal', 'cut_in_last_number.dat', walled[:-3])  # the wall bottom -25 read as -2
write('cal', 'junk_after_data.dat', cal_whole + 'junk\r\n')

# Drawings.
write('dxf', 'abscissa_1e154.dxf',
      '  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n0\n 20\n0\n 11\n1e154\n 21\n1\n  0\nENDSEC\n  0\nEOF\n')
write('dxf', 'cut_in_last_number.dxf',
      '  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n0\n 20\n0\n 11\n10\n 21\n4')
write('dxf', 'junk_after_eof.dxf',
      '  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n0\n 20\n0\n 11\n10\n 21\n40\n  0\nENDSEC\n  0\nEOF\n  0\nLINE\n')

# Calculation inputs whose repeated counts disagree.
write('cal', 'second_layer_count_differs.dat', lines=edit(cal, find(cal, '"土層数"', 1), '3,"土層数"'))
