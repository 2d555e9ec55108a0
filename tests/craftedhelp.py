#!/usr/bin/env python3
"""Writes the project of a help file crafted to cost Qt's layout dearly: craftedhelp.py KIND DIR.
The contents and the index are listed as plain files, not as the project's contents and index:
chmcmd would parse them itself, and it crashes on deep ones. The program finds them by name."""
import os
import sys

kind, out = sys.argv[1], sys.argv[2]
page = '<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1251">' \
       '<title>{}</title></head><body>{}</body></html>'


def entry(name, local):
    return f'<LI><OBJECT type="text/sitemap"><param name="Name" value="{name}">' \
           f'<param name="Local" value="{local}"></OBJECT>\n'


def nested(open_tags, close_tags, depth, inner):
    return open_tags * depth + inner + close_tags * depth


pages = {'index.html': page.format('Начало', '<p>Справка</p>')}
contents = '<UL>' + entry('Начало', 'index.html') + '</UL>'
index = None
if kind == 'deep-contents':  # 30,000 deep, with an index
    contents = '<UL>' + nested(entry('Раздел', 'index.html') + '<UL>', '</UL>', 30000, '') + '</UL>'
    index = '<UL>' + entry('Начало', 'index.html') + '</UL>'
elif kind == 'deeper-contents':
    contents = '<UL>' + nested(entry('Раздел', 'index.html') + '<UL>', '</UL>', 100000, '') + '</UL>'
elif kind == 'long-contents':
    contents = '<UL>' + ''.join(entry(f'Раздел {i}', 'index.html') for i in range(100000)) + '</UL>'
elif kind == 'long-index':
    index = '<UL>' + ''.join(entry(f'Слово {i}', 'index.html') for i in range(100000)) + '</UL>'
elif kind == 'nested-tables':
    pages['index.html'] = page.format('Таблицы', nested('<table><tr><td>', '</td></tr></table>', 25, 'x'))
elif kind == 'pictures':
    pages['index.html'] = page.format('Рисунки', ''.join(f'<img src="p{i}.png">' for i in range(99999)))
elif kind == 'spanned-cells':
    rows = ''.join(f'<tr><td rowspan=99 colspan=99>{i}</td></tr>' for i in range(99999))
    pages['index.html'] = page.format('Ячейки', f'<table>{rows}</table>')
elif kind == 'text':  # 6 MB: a hundred times the limit, and seconds of layout for Qt
    line = 'Значение переводится в базовую единицу по строке, выбранной в списке.\n'
    pages['index.html'] = page.format('Текст', '<p>' + line * (6000000 // len(line)) + '</p>')
elif kind == 'nested-lists':
    pages['index.html'] = page.format('Списки', nested('<ul><li>Пункт', '</ul>', 10000, ''))
elif kind == 'verst':  # the index entry Верста leads to a page of 101 nested tables
    tables = nested('<table><tr><td>', '</td></tr></table>', 101, 'Верста')
    pages['verst.html'] = page.format('Верста', tables)
    index = '<UL>' + entry('Аршин', 'index.html') + entry('Верста', 'verst.html') + '</UL>'
else:
    sys.exit(f'no such kind: {kind}')

os.makedirs(out, exist_ok=True)
files = dict(pages, **{'Mervel.hhc': f'<HTML><BODY>{contents}</BODY></HTML>'})
if index:
    files['Mervel.hhk'] = f'<HTML><BODY>{index}</BODY></HTML>'
files['Mervel.hhp'] = '[OPTIONS]\nCompiled file=Mervel.chm\nDefault topic=index.html\n' \
                      'Language=0x419 Russian\nTitle=Mervel\n\n[FILES]\n' + '\n'.join(files) + '\n'
for name, text in files.items():
    with open(os.path.join(out, name), 'w', encoding='cp1251', newline='\n') as f:
        f.write(text)
