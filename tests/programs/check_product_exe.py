#!/usr/bin/env python3
"""Checks the shipped (i686) launcher exe, which cannot run here: a 32-bit GUI
PE for Intel 80386, the resources one game's launcher needs (XML 104 holding a
well-formed configuration, ZIPRES 101 holding a readable ZIP, icon 103, menu
105, a manifest), and the trailer as the very last bytes, right where the last
section's raw data ends. Usage: check_product_exe.py EXE TRAILER"""
import io
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

failures = []


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what)
    if not cond:
        failures.append(what)


def main(path, trailer):
    data = open(path, 'rb').read()
    desc = subprocess.run(['file', '-b', path], capture_output=True, text=True).stdout
    check('PE32 executable (GUI) Intel 80386' in desc, 'file reports a PE32 GUI executable for Intel 80386: ' + desc.strip())

    nt = struct.unpack_from('<I', data, 0x3C)[0]
    check(data[nt:nt + 4] == b'PE\0\0', 'PE signature')
    machine, nsec = struct.unpack_from('<HH', data, nt + 4)
    opt_size = struct.unpack_from('<H', data, nt + 20)[0]
    opt = nt + 24
    magic = struct.unpack_from('<H', data, opt)[0]
    subsystem = struct.unpack_from('<H', data, opt + 68)[0]
    check(machine == 0x14C and magic == 0x10B, 'machine i386, PE32 optional header')
    check(subsystem == 2, 'GUI subsystem')

    sections = []
    table = opt + opt_size
    for i in range(nsec):
        name, vsize, vaddr, rawsize, rawptr = struct.unpack_from('<8sIIII', data, table + 40 * i)
        sections.append((name.rstrip(b'\0'), vsize, vaddr, rawsize, rawptr))
    end = sections[-1][4] + sections[-1][3]
    expected = trailer.encode('utf-8')
    check(data[end:] == expected, 'the file ends with the trailer, right after the last section (%d bytes)' % len(expected))

    rsrc_rva = struct.unpack_from('<I', data, opt + 96 + 8 * 2)[0]

    def rva_to_off(rva):
        for _, vsize, vaddr, rawsize, rawptr in sections:
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rawptr + rva - vaddr
        raise ValueError('rva %x outside the sections' % rva)

    base = rva_to_off(rsrc_rva)

    def entries(off):
        named, ids = struct.unpack_from('<HH', data, base + off + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', data, base + off + 16 + 8 * i)
            if name & 0x80000000:
                n = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from('<H', data, n)[0]
                key = data[n + 2:n + 2 + 2 * length].decode('utf-16-le')
            else:
                key = name
            yield key, target

    resources = {}
    for rtype, t1 in entries(0):
        for rid, t2 in entries(t1 & 0x7FFFFFFF):
            for _, t3 in entries(t2 & 0x7FFFFFFF):
                rva, size = struct.unpack_from('<II', data, base + t3)
                off = rva_to_off(rva)
                resources[(rtype, rid)] = data[off:off + size]

    check(('XML', 104) in resources, 'resource XML 104')
    check(('ZIPRES', 101) in resources, 'resource ZIPRES 101')
    check((14, 103) in resources, 'icon group 103')
    check((4, 105) in resources, 'menu 105')
    check((24, 1) in resources, 'manifest')
    if ('XML', 104) in resources:
        root = ET.fromstring(resources[('XML', 104)])
        names = [child.tag for child in root]
        check(all(k in names for k in ('loginFrameSize', 'loginWebRect', 'miniRect', 'closeRect',
                                       'loginURL', 'playGamekeyWord', 'clientName')),
              'the configuration names all seven settings')
    if ('ZIPRES', 101) in resources:
        z = zipfile.ZipFile(io.BytesIO(resources[('ZIPRES', 101)]))
        check(z.testzip() is None, 'the skin archive reads back: ' + ', '.join(z.namelist()))
    if (4, 105) in resources:
        menu = resources[(4, 105)].decode('utf-16-le', 'replace')
        check('显示游戏界面' in menu and '退出游戏' in menu, 'the tray menu holds its two items')


main(sys.argv[1], sys.argv[2])
print('%d failed' % len(failures))
sys.exit(1 if failures else 0)
