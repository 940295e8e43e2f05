#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/: small books, entries,
settings and contents in the forms the book tool writes."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

SETTINGS = (b"[cSettings]\r\nDATA=1111111111000001000000000000221110\r\nhome=index.html\r\n"
            b"[cEve]\r\nwidth=0x320\r\nheight=$258\r\nbookmark=1\r\nstart=Welcome\r\n"
            b"[cInfo]\r\ntitle= Sample \r\nenumber={1234}\r\nabout=a=b\r\n"
            b"[cTool]\r\nbgColor=clNavy\r\ntxColor=$00FFFF\r\nBL1=Back\r\n; comment\r\n"
            b"[PFiles]\r\nUseTOC=1\r\nUseTOCauto=-1\r\n[search]\r\n5=Close\r\n")
TOC_TEXT = (b"Cover\tINDEX.HTML\nPart one\n  Chapter 1\tP1/C1.HTML\n    Section\tP1/C1.HTML#S\n"
            b"  Chapter 2\tP1/C2.HTML\nAppendix\tA.HTML\n")


def node_data(page):
    data = bytearray(512)
    data[256] = len(page)
    data[257:257 + len(page)] = page
    return bytes(data)


def toc_stream(text):
    """The node stream of a contents text (levels as depths)."""
    nodes = []  # (depth, caption, page)
    for line in text.splitlines():
        indent = len(line) - len(line.lstrip(b" "))
        caption, _, page = line[indent:].partition(b"\t")
        nodes.append((indent // 2, caption, page))

    def children(i):
        depth, out, j = nodes[i][0], [], i + 1
        while j < len(nodes) and nodes[j][0] > depth:
            if nodes[j][0] == depth + 1:
                out.append(j)
            j += 1
        return out

    def record(i):
        depth, caption, page = nodes[i]
        kids = children(i)
        out = struct.pack("<i", len(caption)) + caption + struct.pack("<iiii", depth, 0, -1, 0)
        out += struct.pack("<i", 512) + node_data(page) + struct.pack("<i", len(kids))
        return out + b"".join(record(k) for k in kids)

    roots = [i for i, n in enumerate(nodes) if n[0] == 0]
    return struct.pack("<i", len(roots)) + b"".join(record(r) for r in roots)


def entry(name, content):
    name = name.upper()
    return b"#1!#" + name + b"\xb6" + zlib.compress(content) + b"!2!#" + name


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    page = b"<html><head><title>Index</title></head><body><a href='#DO#SHOW#hi'>x</a></body></html>"
    stream = toc_stream(TOC_TEXT)
    book = (entry(b"XSEI.QRLC", b"2") + entry(b"XSE1.QRLC", SETTINGS) + entry(b"XTOC.QRLC", stream)
            + entry(b"P1/C1.HTML", page) + entry(b"A.HTM", b"short") + entry(b"A.HTML", page)
            + entry(b"INDEX.HTML", page))
    write("fuzz_archive", "book", book)
    write("fuzz_archive", "truncated", book[:len(book) * 2 // 3])
    write("fuzz_archive", "program-then-book", b"\x7fELF\x02\x01\x01" + bytes(57) + b"#1!#" + book)
    write("fuzz_decompress", "page", zlib.compress(page))
    write("fuzz_decompress", "settings", zlib.compress(SETTINGS, 9))
    write("fuzz_decompress", "stored", zlib.compress(bytes(range(256)), 0))
    write("fuzz_settings", "sample.ini", SETTINGS)
    write("fuzz_settings", "lf-only.ini", SETTINGS.replace(b"\r\n", b"\n"))
    write("fuzz_toc_stream", "sample", stream)
    write("fuzz_toc_text", "sample.txt", TOC_TEXT)
    write("fuzz_search", "book", book)
    write("fuzz_page_links", "small.html", b"<body background=b.gif><a href='../x.html#f'>x</a>"
          b"<style>p { background: url( 'p.png' ) }</style><!-- <img src=no.gif> -->")


if __name__ == "__main__":
    main()
