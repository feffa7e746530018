#!/usr/bin/env python3
"""Writes the example price libraries of data/data/ (codedata1-6, multidata1-6, treedata1-12).

The prices are examples of the trade's orders of magnitude, not quotations: every file says so
in its note lines. Run from the source tree: python3 scripts/make-price-libraries.py
"""
import os

OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'data')
NOTE = ['#この単価は例示です。実際の単価に置き換えてからお使いください。',
        '#（例示単価：価格は目安であり、見積の根拠になりません）']
COMMON = ['コード', '名称', '仕様', '単位', '歩掛', '原価単価', '単価1', '単価2', '単価3', '単価4', '単価5',
          '原価付帯単価', '付帯単価1', '付帯単価2', '付帯単価3', '付帯単価4', '付帯単価5', 'グループ', '備考']
LEVELS = [1.0, 1.05, 0.97, 0.92, 1.1]   # 標準, 官庁, 民間, 特別, 参考
GROUP = {'材': 'A', '労': 'B', '機': 'C', '経': 'D', '雑': 'E', '他': 'F'}


def r10(v):
    return int(v / 10 + 0.5) * 10 if v >= 100 else int(v + 0.5)


def num(v):
    s = ('%.4f' % v).rstrip('0').rstrip('.')
    return s if s else '0'


def quote(f):
    if any(c in f for c in ',"\r\n') or f != f.strip():
        return '"' + f.replace('"', '""') + '"'
    return f


def entry(code, name, spec, unit, labour, price, group='材', extra=0, remarks=''):
    """price: the submitted price of level 1; the cost price is 75 % of it."""
    prices = [r10(price * k) for k in LEVELS]
    extras = [r10(extra * k) for k in LEVELS] if extra else [0] * 5
    return [code, name, spec, unit, num(labour), str(r10(price * 0.75))] + [str(p) for p in prices] + \
           [str(r10(extra * 0.75)) if extra else '0'] + [str(e) for e in extras] + [GROUP[group], remarks]


def write(name, columns, rows):
    lines = NOTE + [','.join(columns)] + [','.join(quote(str(f)) for f in r) for r in rows]
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(('\r\n'.join(lines) + '\r\n').encode('cp932'))


SIZES = ['15A', '20A', '25A', '32A', '40A', '50A', '65A', '80A', '100A', '125A', '150A']
SIZE_K = [1.0, 1.25, 1.7, 2.2, 2.6, 3.4, 4.6, 5.6, 8.0, 10.5, 13.5]
LAB_K = [0.075, 0.085, 0.10, 0.125, 0.14, 0.17, 0.21, 0.25, 0.32, 0.39, 0.46]
PIPES = [('SGP', '配管用炭素鋼鋼管', '白', 'ねじ接合', 680),
         ('VLP', '硬質塩化ビニルライニング鋼管', 'SGP-VA', '管端防食継手', 1150),
         ('SUS', '一般配管用ステンレス鋼鋼管', 'SUS304 Su', 'プレス接合', 1380),
         ('VP', '硬質ポリ塩化ビニル管', 'VP', '接着接合', 260),
         ('PEX', '架橋ポリエチレン管', '1種', 'ワンタッチ継手', 520),
         ('CU', '銅管', 'Mタイプ', 'ろう付け', 980)]


def pipe_rows():
    rows = []
    for code, name, spec, remarks, base in PIPES:
        for i, s in enumerate(SIZES[:9]):
            rows.append(entry(f'{code}-{s[:-1]}', name, f'{spec} {s}', 'm', LAB_K[i], base * SIZE_K[i], '材',
                              base * SIZE_K[i] * 0.35, remarks))
    return rows


FITTINGS = [('EL', 'エルボ', 0.02, 0.22), ('TE', 'チーズ', 0.03, 0.32), ('SO', 'ソケット', 0.015, 0.14),
            ('RD', '径違いソケット', 0.018, 0.2), ('UN', 'ユニオン', 0.02, 0.45)]


def fitting_rows():
    rows = []
    for code, name, labour, k in FITTINGS:
        for i, s in enumerate(SIZES[:9]):
            rows.append(entry(f'{code}-{s[:-1]}', name, f'白 {s}', '個', labour * (1 + i * 0.25), 680 * SIZE_K[i] * k * 3))
    return rows


VALVES = [('GV', '仕切弁', '青銅 10K', 4200), ('CV', '逆止弁', '青銅 10K スイング', 4800),
          ('BV', 'ボール弁', '青銅 10K', 3600), ('BFV', 'バタフライ弁', 'FCD 10K レバー', 16000),
          ('STR', 'Y形ストレーナ', '青銅 10K', 5200)]


def valve_rows():
    rows = []
    for code, name, spec, base in VALVES:
        for i, s in enumerate(SIZES[:9]):
            if code == 'BFV' and i < 4:
                continue
            rows.append(entry(f'{code}-{s[:-1]}', name, f'{spec} {s}', '個', 0.08 + i * 0.03, base * SIZE_K[i] * 0.8))
    return rows


def insulation_rows():
    rows = []
    for t, (code, name, spec, base) in enumerate([('GW', '保温 グラスウール', 'GW 25t 屋内露出', 900),
                                                  ('GWC', '保温 グラスウール', 'GW 25t 隠ぺい', 640),
                                                  ('PF', '保温 ポリスチレンフォーム', 'PF 20t 結露防止', 720),
                                                  ('ALM', '外装 アルミガラスクロス', '隠ぺい', 310)]):
        for i, s in enumerate(SIZES[:9]):
            rows.append(entry(f'{code}-{s[:-1]}', name, f'{spec} {s}', 'm', 0.03 + i * 0.008, base * (0.8 + SIZE_K[i] * 0.2),
                              '材'))
    return rows


def support_rows():
    rows = []
    for i, s in enumerate(SIZES[:9]):
        rows.append(entry(f'HG-{s[:-1]}', '吊りバンド', f'溶融亜鉛めっき {s}', '個', 0.03, 260 * (0.8 + SIZE_K[i] * 0.2)))
        rows.append(entry(f'RB-{s[:-1]}', '立てバンド', f'溶融亜鉛めっき {s}', '個', 0.04, 420 * (0.8 + SIZE_K[i] * 0.2)))
    rows.append(entry('AB-9', '全ねじボルト', 'W3/8 L=1000', '本', 0.0, 180))
    rows.append(entry('AN-9', 'あと施工アンカー', 'W3/8', '本', 0.03, 120))
    rows.append(entry('SP-1', '配管支持金物', '形鋼振れ止め', '箇所', 0.3, 3800, '雑'))
    return rows


MISC = [('SL', 'スリーブ', '紙製 100φ', '個', 0.05, 380, '雑'), ('SLV', 'スリーブ', '鋼管 100A', '個', 0.15, 2600, '雑'),
        ('SEAL', '防火区画貫通処理', '100A以下', '箇所', 0.2, 6800, '雑'), ('PNT', '配管塗装', '錆止め 2回', 'm', 0.02, 240, '雑'),
        ('CUT', 'はつり補修', '壁 150φ', '箇所', 0.3, 4500, '雑'), ('CON', '消耗品', '雑材料', '式', 0, 15000, '雑')]

LABOUR = [('L-PL', '配管工', '普通作業', '人工', 1, 25800), ('L-DU', 'ダクト工', '普通作業', '人工', 1, 26400),
          ('L-HO', '保温工', '普通作業', '人工', 1, 24700), ('L-WE', '溶接工', '普通作業', '人工', 1, 28500),
          ('L-FI', '設備機械工', '普通作業', '人工', 1, 26900), ('L-WK', '普通作業員', '', '人工', 1, 21200),
          ('L-EL', '電工', '普通作業', '人工', 1, 27200), ('L-NT', '夜間割増', '配管工 5割', '人工', 0, 12900)]

EQUIPMENT = [('PAC-56', 'パッケージエアコン', '天井カセット形 5.6kW', '台', 4.5, 385000),
             ('PAC-112', 'パッケージエアコン', '天井カセット形 11.2kW', '台', 6.0, 612000),
             ('RAC-28', 'ルームエアコン', '壁掛形 2.8kW', '台', 2.0, 98000),
             ('FC-4', 'ファンコイルユニット', '床置形 FCU-4', '台', 2.5, 168000),
             ('EF-25', '天井換気扇', '埋込形 25cm', '台', 0.6, 18500),
             ('SF-3', '送風機', '多翼送風機 #3', '台', 3.5, 420000),
             ('TP-32', '給水ポンプユニット', '推定末端圧一定 32A 1.5kW', '台', 6.0, 1250000),
             ('WH-24', 'ガス給湯器', '24号 屋外壁掛', '台', 2.0, 168000),
             ('EWH-370', '電気温水器', '370L 屋内', '台', 3.0, 410000),
             ('TNK-10', '受水槽', 'FRP 10m3', '基', 12.0, 1850000)]

FIXTURES = [('WC-1', '洋風便器', '床置 ロータンク付', '組', 1.2, 86000), ('WC-2', '洋風便器', '壁掛 フラッシュバルブ', '組', 1.6, 128000),
            ('LV-1', '洗面器', 'カウンター一体 混合水栓付', '組', 1.0, 62000),
            ('UR-1', '小便器', '壁掛 自動洗浄', '組', 1.2, 98000),
            ('SK-1', '掃除用流し', 'バック付 水栓付', '組', 1.0, 54000),
            ('KS-1', '流し台', 'ステンレス 1200', '組', 1.0, 72000),
            ('WB-1', '温水洗浄便座', '貯湯式', '組', 0.3, 38000), ('FD-1', '床排水金物', '50A', '個', 0.2, 4800),
            ('TR-1', 'トラップ', 'Pトラップ 32A', '個', 0.1, 2800), ('HC-1', '水栓', '横水栓 13', '個', 0.1, 2400)]


def code_libraries():
    write('codedata1.dat', COMMON, pipe_rows() + fitting_rows() + valve_rows() + insulation_rows() + support_rows())
    write('codedata2.dat', COMMON, [entry(c, n, s, u, l, p, '労') for c, n, s, u, l, p in LABOUR])
    write('codedata3.dat', COMMON, [entry(c, n, s, u, l, p, '機', remarks='据付費別') for c, n, s, u, l, p in EQUIPMENT] +
          [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in FIXTURES])
    composite = []
    for i, s in enumerate(SIZES[:9]):
        composite.append(entry(f'FK-SGP-{s[:-1]}', '配管 複合単価', f'SGP 白 {s} 継手支持共', 'm', LAB_K[i] * 1.4,
                               680 * SIZE_K[i] * 1.9 + 25800 * LAB_K[i] * 1.4, '材', remarks='材工共'))
        composite.append(entry(f'FK-VP-{s[:-1]}', '排水管 複合単価', f'VP {s} 継手支持共', 'm', LAB_K[i] * 1.2,
                               260 * SIZE_K[i] * 2.2 + 25800 * LAB_K[i] * 1.2, '材', remarks='材工共'))
    write('codedata4.dat', COMMON, composite)
    write('codedata5.dat', COMMON, [entry('Q-' + c, n, s, u, l, p * 1.08, '機', remarks='見積 有効期限3か月')
                                    for c, n, s, u, l, p in EQUIPMENT])
    write('codedata6.dat', COMMON, [entry(c, n, s, u, l, p, g) for c, n, s, u, l, p, g in MISC] +
          [entry('OH-1', '運搬費', '4tトラック', '台', 0, 38000, '経'), entry('OH-2', '試運転調整', '', '式', 2, 60000, '経'),
           entry('OH-3', '産業廃棄物処分費', '混合', 'm3', 0, 18000, '経')])


SEQ = ['セット名', '比率'] + COMMON


def seq_library(file, sets):
    rows = []
    for set_name, members in sets:
        for ratio, row in members:
            rows.append([set_name, num(ratio)] + row)
    write(file, SEQ, rows)


def seq_libraries():
    by_code = {r[0]: r for r in pipe_rows() + fitting_rows() + valve_rows() + insulation_rows() + support_rows()}
    pipes = []
    for code, name, _, _, _ in PIPES[:3]:
        for s in SIZES[1:6]:
            n = s[:-1]
            pipes.append((f'{name} {s} 一式', [(1, by_code[f'{code}-{n}']), (0.4, by_code[f'EL-{n}']),
                                              (0.2, by_code[f'TE-{n}']), (0.5, by_code[f'HG-{n}'])]))
    seq_library('multidata1.dat', pipes)
    seq_library('multidata2.dat', [(f'継手 {s} 標準', [(1, by_code[f'EL-{s[:-1]}']), (0.5, by_code[f'TE-{s[:-1]}']),
                                                     (0.5, by_code[f'SO-{s[:-1]}'])]) for s in SIZES[:9]])
    seq_library('multidata3.dat', [(f'ポンプ回り弁 {s}', [(2, by_code[f'GV-{s[:-1]}']), (1, by_code[f'CV-{s[:-1]}']),
                                                       (1, by_code[f'STR-{s[:-1]}'])]) for s in SIZES[:9]])
    seq_library('multidata4.dat', [(f'給水保温 {s} 屋内露出', [(1, by_code[f'GW-{s[:-1]}']), (1, by_code[f'ALM-{s[:-1]}'])])
                                   for s in SIZES[:9]])
    seq_library('multidata5.dat', [(f'吊り支持 {s} 1.8m毎', [(0.56, by_code[f'HG-{s[:-1]}']), (0.56, by_code['AB-9']),
                                                          (0.56, by_code['AN-9'])]) for s in SIZES[:9]])
    misc = {r[0]: r for r in (entry(c, n, s, u, l, p, g) for c, n, s, u, l, p, g in MISC)}
    seq_library('multidata6.dat', [('貫通部 100A以下', [(1, misc['SLV']), (1, misc['SEAL']), (1, misc['CUT'])]),
                                   ('配管塗装 一式', [(1, misc['PNT']), (0.01, misc['CON'])])])


TREE = ['大分類', '中分類'] + COMMON


def tree_library(file, groups):
    rows = []
    for cat1, cat2, items in groups:
        for row in items:
            rows.append([cat1, cat2] + row)
    write(file, TREE, rows)


def pipes_of(code, cat, sizes=SIZES[:9]):
    return [r for r in pipe_rows() if r[0].split('-')[0] == code and r[2].split()[-1] in sizes]


def tree_libraries():
    fits = fitting_rows()
    valves = valve_rows()
    ins = insulation_rows()
    tree_library('treedata1.dat', [('配管', '硬質塩化ビニルライニング鋼管', pipes_of('VLP', '')),
                                   ('配管', 'ステンレス鋼鋼管', pipes_of('SUS', '')),
                                   ('継手', '', fits[:18]), ('弁類', '', [v for v in valves if v[0].startswith(('GV', 'CV'))]),
                                   ('機器', '', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in EQUIPMENT if c in ('TP-32', 'TNK-10')])])
    tree_library('treedata2.dat', [('配管', '銅管', pipes_of('CU', '')), ('配管', '架橋ポリエチレン管', pipes_of('PEX', '')),
                                   ('機器', '給湯器', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in EQUIPMENT if c in ('WH-24', 'EWH-370')])])
    tree_library('treedata3.dat', [('配管', '硬質ポリ塩化ビニル管', pipes_of('VP', '')),
                                   ('配管', '配管用炭素鋼鋼管', pipes_of('SGP', '', SIZES[3:9])),
                                   ('金物', '', [entry(c, n, s, u, l, p) for c, n, s, u, l, p in FIXTURES if c in ('FD-1', 'TR-1')])])
    tree_library('treedata4.dat', [('配管', '配管用炭素鋼鋼管', pipes_of('SGP', '')),
                                   ('消火栓', '', [entry('FH-1', '屋内消火栓箱', '1号 易操作性', '組', 3.0, 185000, '機'),
                                                   entry('SH-1', 'スプリンクラーヘッド', '閉鎖型 72℃', '個', 0.25, 3200),
                                                   entry('FE-1', '消火器', 'ABC粉末 10型', '本', 0, 7800, '機')])])
    tree_library('treedata5.dat', [('配管', 'ガス用ポリエチレン管', [entry(f'PE-{s[:-1]}', 'ガス用ポリエチレン管', s, 'm', LAB_K[i], 900 * SIZE_K[i])
                                                             for i, s in enumerate(SIZES[1:7])]),
                                   ('弁類', '', [entry('GC-20', 'ガス栓', '20A', '個', 0.2, 3800), entry('GM-4', 'ガスメーター', '4号', '個', 0.5, 18000, '機')])])
    tree_library('treedata6.dat', [('衛生器具', '便器', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in FIXTURES if c.startswith(('WC', 'UR', 'WB'))]),
                                   ('衛生器具', '洗面・流し', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in FIXTURES if c.startswith(('LV', 'SK', 'KS', 'HC'))])])
    tree_library('treedata7.dat', [('空調機', 'パッケージ', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in EQUIPMENT if c.startswith(('PAC', 'RAC'))]),
                                   ('空調機', 'ファンコイル', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in EQUIPMENT if c.startswith('FC')])])
    tree_library('treedata8.dat', [('換気', '送風機', [entry(c, n, s, u, l, p, '機') for c, n, s, u, l, p in EQUIPMENT if c.startswith(('EF', 'SF'))]),
                                   ('換気', '制気口', [entry('VH-150', 'VHS', '300x150', '個', 0.3, 5200), entry('AC-250', 'アネモ', '#25', '個', 0.4, 9800)])])
    duct = [entry(f'DC-{t}', '角ダクト', f'亜鉛鉄板 {t}mm', 'm2', 0.55 + k * 0.1, 6800 + k * 1200) for k, t in enumerate(['0.5', '0.6', '0.8'])]
    spiral = [entry(f'SP-{d}', 'スパイラルダクト', f'{d}φ', 'm', 0.1 + k * 0.04, 1400 + k * 650) for k, d in enumerate([100, 150, 200, 250, 300])]
    tree_library('treedata9.dat', [('ダクト', '角ダクト', duct), ('ダクト', 'スパイラル', spiral),
                                   ('ダンパー', '', [entry('FD-300', '防火ダンパー', '300x300', '個', 0.6, 28000), entry('VD-200', '風量調整ダンパー', '200φ', '個', 0.4, 12000)])])
    tree_library('treedata10.dat', [('冷媒配管', '', [entry(f'RF-{p}', '冷媒用銅管', f'ペア {p}', 'm', 0.08 + k * 0.02, 2400 + k * 900, remarks='被覆付')
                                                     for k, p in enumerate(['6.35/9.52', '6.35/12.7', '9.52/15.88', '9.52/19.05'])]),
                                    ('ドレン配管', '', pipes_of('VP', '', SIZES[1:4]))])
    tree_library('treedata11.dat', [('保温', 'グラスウール', [r for r in ins if r[0].startswith('GW')]),
                                    ('保温', 'ポリスチレン', [r for r in ins if r[0].startswith('PF')]),
                                    ('外装', '', [r for r in ins if r[0].startswith('ALM')])])
    tree_library('treedata12.dat', [('撤去', '配管', [entry(f'RM-{s[:-1]}', '既設配管撤去', s, 'm', LAB_K[i] * 0.5, 25800 * LAB_K[i] * 0.5, '労')
                                                   for i, s in enumerate(SIZES[:9])]),
                                    ('撤去', '機器', [entry('RM-EQ1', '既設機器撤去', '小型', '台', 1.0, 26000, '労'),
                                                    entry('RM-EQ2', '既設機器撤去', '大型', '台', 3.0, 78000, '労')]),
                                    ('処分', '', [entry('OH-3', '産業廃棄物処分費', '混合', 'm3', 0, 18000, '経')])])


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    code_libraries()
    seq_libraries()
    tree_libraries()
