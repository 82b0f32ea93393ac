#!/usr/bin/env python3
"""The stamp tool from the outside: varnelStamp.exe (run under wine64 in the
test session) stamps the i686 product exe and the x86_64 exe with the fixture
configuration, skin, icon and trailer. Each result must still be a PE32/PE32+
GUI exe by `file`, read back exactly by `show`, hold exactly the planned
resources, and differ in size from its template only by the replaced parts.
Every bad input is refused with exit code 2, its message and no output file.
Usage: check_stamp.py STAMP_EXE I686_TEMPLATE X86_64_TEMPLATE FIXTURES WORKDIR"""
import hashlib
import io
import os
import shutil
import struct
import subprocess
import sys
import zipfile

WINE = '/usr/lib/wine/wine64'
failures = []


def check(cond, what):
    print(('ok   ' if cond else 'FAIL ') + what)
    if not cond:
        failures.append(what)


def win(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def line_of(path, needle):
    text = open(path, encoding='utf-8').read()
    return text[:text.index(needle)].count('\n') + 1


def stamp(*args):
    r = subprocess.run([WINE, STAMP] + [a for a in args], capture_output=True, timeout=180)
    text = lambda b: b.decode('utf-8', 'replace').replace('\r\n', '\n')
    return r.returncode, text(r.stdout), text(r.stderr)


def pe(path):
    """Sections by name, the image end, the trailer and the resources."""
    data = open(path, 'rb').read()
    nt, = struct.unpack_from('<I', data, 0x3C)
    count, = struct.unpack_from('<H', data, nt + 6)
    opt_size, = struct.unpack_from('<H', data, nt + 20)
    opt = nt + 24
    magic, = struct.unpack_from('<H', data, opt)
    sections = [struct.unpack_from('<8sIIII', data, opt + opt_size + 40 * i) for i in range(count)]
    end = sections[-1][4] + sections[-1][3]

    def offset(rva):
        for _, vsize, vaddr, rawsize, rawptr in sections:
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rawptr + rva - vaddr

    rsrc, = struct.unpack_from('<I', data, opt + (96 if magic == 0x10B else 112) + 16)
    base = offset(rsrc)

    def entries(at):
        named, ids = struct.unpack_from('<HH', data, base + at + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', data, base + at + 16 + 8 * i)
            if name & 0x80000000:
                n = base + (name & 0x7FFFFFFF)
                length, = struct.unpack_from('<H', data, n)
                name = data[n + 2:n + 2 + 2 * length].decode('utf-16-le')
            yield name, target & 0x7FFFFFFF

    resources = {}
    for rtype, t1 in entries(0):
        for rid, t2 in entries(t1):
            for lang, t3 in entries(t2):
                rva, size = struct.unpack_from('<II', data, base + t3)
                resources[(rtype, rid, lang)] = data[offset(rva):offset(rva) + size]
    return dict(size=len(data), end=end, trailer=data[end:], resources=resources,
                sections={s[0].rstrip(b'\0'): data[s[4]:s[4] + s[3]] for s in sections},
                rsrc_raw=next(s[3] for s in sections if s[2] <= rsrc < s[2] + s[1]))


def icon_images(path):
    data = open(path, 'rb').read()
    count, = struct.unpack_from('<H', data, 4)
    out = []
    for i in range(count):
        w, h, _, _, _, bits, size, at = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        out.append((w, h, bits, data[at:at + size]))
    return out


def check_stamped(template, skin_arg, file_desc, label, service):
    """Stamps all four parts; without `service` the template's link is kept."""
    out_dir = os.path.join(WORK, label)
    os.makedirs(out_dir)
    out = os.path.join(out_dir, 'game.exe')
    before = hashlib.sha256(open(template, 'rb').read()).hexdigest()
    rc, stdout, stderr = stamp('make', '--template', win(template), '--out', win(out),
                               '--config', win(FIX + '/config.xml'), '--skin', win(skin_arg),
                               '--icon', win(FIX + '/game.ico'), '--login', LOGIN,
                               *(['--service', service] if service else []))
    service = service or pe(template)['trailer'].decode('utf-8').split('|')[1]
    check(rc == 0, '%s: make succeeds (%d) %s' % (label, rc, stderr.strip()))
    if rc != 0:
        return
    check(os.listdir(out_dir) == ['game.exe'], '%s: only the output is left in its folder' % label)
    check(hashlib.sha256(open(template, 'rb').read()).hexdigest() == before, '%s: the template is unchanged' % label)
    desc = subprocess.run(['file', '-b', out], capture_output=True, text=True).stdout
    check(file_desc in desc, '%s: file says %s' % (label, desc.strip()))

    old, new = pe(template), pe(out)
    skin_dir = FIX + '/skin'
    skin_files = sorted(os.listdir(skin_dir))
    images = icon_images(FIX + '/game.ico')
    config = open(FIX + '/config.xml', 'rb').read()
    trailer = (LOGIN + '|' + service).encode('utf-8')

    # What show must print, line for line.
    expected = ['file: ' + win(out),
                'image: %s, ends at %d, trailer %d bytes' % (SHOW_FORMAT[label], new['end'], len(trailer)),
                'setting loginFrameSize: 900,600', 'setting loginWebRect: 300,150,860,560',
                'setting miniRect: 820,10,850,40', 'setting closeRect: 855,10,885,40',
                'setting loginURL: http://127.0.0.1:9/stamped.html', 'setting playGamekeyWord: stamped=play',
                'setting clientName: VarnelStampA', 'trailer login: ' + LOGIN, 'trailer service: ' + service,
                'skin: %d files, %d bytes zipped' % (len(skin_files), len(new['resources'][('ZIPRES', 101, 0x409)]))]
    expected += ['skin file: %s (%d bytes)' % (f, os.path.getsize(os.path.join(skin_dir, f))) for f in skin_files]
    expected += ['icon: %dx%d, %d-bit, %d bytes' % (w, h, bits, len(d)) for w, h, bits, d in images]
    rc, stdout, _ = stamp('show', win(out))
    lines = stdout.strip('\n').split('\n')
    check(rc == 0 and lines == expected, '%s: show reads back exactly' % label)
    if lines != expected:
        print('\n'.join('  got  %r\n  want %r' % (g, w) for g, w in zip(lines, expected) if g != w))

    res = new['resources']
    check(new['trailer'] == trailer, '%s: the trailer is the last bytes, right after the image' % label)
    check(res.get(('XML', 104, 0x409)) == config, '%s: XML 104 is the configuration, same language' % label)
    archive = zipfile.ZipFile(io.BytesIO(res.get(('ZIPRES', 101, 0x409), b'')))
    check(archive.testzip() is None and archive.namelist() == skin_files and
          all(archive.read(f) == open(os.path.join(skin_dir, f), 'rb').read() for f in skin_files),
          '%s: ZIPRES 101 is a standard ZIP of the skin' % label)
    group = res.get((14, 103, 0x409), b'')
    ids = [struct.unpack_from('<H', group, 6 + 14 * i + 12)[0] for i in range(len(images))]
    check(sorted(k[1] for k in res if k[0] == 3) == sorted(ids) and
          [res.get((3, i, 0x409)) for i in ids] == [d for _, _, _, d in images],
          '%s: icon group 103 and exactly its %d images, the old one gone' % (label, len(images)))
    replaced = {'XML', 'ZIPRES', 3, 14}
    kept_old = {k: v for k, v in old['resources'].items() if k[0] not in replaced}
    kept_new = {k: v for k, v in res.items() if k[0] not in replaced}
    check(kept_old == kept_new and kept_new, '%s: every other resource is unchanged' % label)

    # The size moves only with the replaced parts: every section but the
    # resources is byte-identical, the resource section grows or shrinks with
    # the resource data (within alignment), and the trailer is the new one.
    check(all(new['sections'][n] == old['sections'][n] for n in old['sections'] if n != b'.rsrc'),
          '%s: every other section is byte-identical' % label)
    data_delta = sum(map(len, res.values())) - sum(map(len, old['resources'].values()))
    rsrc_delta = new['rsrc_raw'] - old['rsrc_raw']
    check(abs(rsrc_delta - data_delta) <= 0x400,
          '%s: the resource section changes by %d bytes for %d bytes of data' % (label, rsrc_delta, data_delta))
    check(new['size'] == old['end'] + rsrc_delta + len(trailer),
          '%s: size %d = template image %d + resource change %d + trailer %d' %
          (label, new['size'], old['end'], rsrc_delta, len(trailer)))


def check_kept(template):
    """Only the service link given: every resource stays as it was."""
    out = os.path.join(WORK, 'kept.exe')
    rc, _, stderr = stamp('make', '--template', win(template), '--out', win(out), '--service', SERVICE)
    old, new = pe(template), pe(out) if rc == 0 else None
    # The resource section is rewritten (in the resource writer's own order).
    same = lambda image: {n: d for n, d in image['sections'].items() if n != b'.rsrc'}
    check(rc == 0 and new['resources'] == old['resources'] and same(new) == same(old) and
          new['size'] == old['size'] - len(old['trailer']) + len(new['trailer']) and
          new['trailer'] == old['trailer'].split(b'|')[0] + b'|' + SERVICE.encode(),
          'only --service given: the resources, the other sections and the login field are kept ' + stderr.strip())


def check_refusals(template):
    out_dir = os.path.join(WORK, 'refused')
    os.makedirs(out_dir)
    out = win(out_dir + '/bad.exe')
    t = win(template)
    cases = [
        ('a configuration missing a setting', ['--template', t, '--out', out, '--config', win(FIX + '/bad-missing.xml')],
         'bad-missing.xml: lacks the setting clientName'),
        ('a rectangle with three numbers', ['--template', t, '--out', out, '--config', win(FIX + '/bad-rect3.xml')],
         'bad-rect3.xml: setting miniRect must be four numbers "left,top,right,bottom", not "820,10,850"'),
        ('a skin without playGameWindow.xml', ['--template', t, '--out', out, '--skin', win(FIX + '/bad-skin-noplay')],
         'bad-skin-noplay: has no playGameWindow.xml'),
        ('a skin document with a markup error', ['--template', t, '--out', out, '--skin', win(FIX + '/bad-skin-markup')],
         'bad-skin-markup: login.xml does not build: Unmatched closing tag near "Contianer>"'),
        ('a skin that fails the skin check', ['--template', t, '--out', out, '--skin', win(FIX + '/bad-skin-check')],
         'bad-skin-check: fails the skin check: login.xml:%d: error: <VerticalLayout> bkimage: image "nobg.png" '
         'cannot be loaded' % line_of(FIX + '/bad-skin-check/login.xml', 'nobg.png')),
        ('a truncated .ico', ['--template', t, '--out', out, '--icon', win(FIX + '/bad-truncated.ico')],
         'bad-truncated.ico: the icon file is truncated or damaged (image 1 of 2 lies outside the file)'),
        ('a 300-byte trailer', ['--template', t, '--out', out, '--login', 'http://a.test/' + 'x' * 274,
                                '--service', 'tencent://1'],
         'the trailer "login|service" would be 300 bytes; the launcher reads at most 255'),
        ('a "|" inside a field', ['--template', t, '--out', out, '--login', 'http://a.test/?a|b'],
         '--login: the login field contains "|"'),
        ('a non-PE template', ['--template', win(FIX + '/bad-notpe.exe'), '--out', out],
         'bad-notpe.exe: is not a Windows executable (no PE headers)'),
        ('an output folder that does not exist', ['--template', t, '--out', win(out_dir + '/none/bad.exe')],
         'bad.exe: the folder %s does not exist' % win(out_dir + '/none')),
    ]
    before = hashlib.sha256(open(template, 'rb').read()).hexdigest()
    for what, args, message in cases:
        rc, _, stderr = stamp('make', *args)
        lines = stderr.strip().split('\n')
        check(rc == 2 and len(lines) == 1 and message in lines[0] and not os.listdir(out_dir),
              'refused with exit code 2, one message and no file: %s (%d: %s)' % (what, rc, stderr.strip()))
    check(hashlib.sha256(open(template, 'rb').read()).hexdigest() == before, 'the template is never modified')


STAMP, I686, X64, FIX, WORK = sys.argv[1:6]
LOGIN = 'http://127.0.0.1:9/登录.html'
SERVICE = 'tencent://message/?uin=20000&Site=stamped'
SHOW_FORMAT = {'i686': 'PE32 GUI i386', 'x86_64': 'PE32+ GUI x86-64'}
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
check_stamped(I686, FIX + '/skin.zip', 'PE32 executable (GUI) Intel 80386', 'i686', None)
check_stamped(X64, FIX + '/skin', 'PE32+ executable (GUI) x86-64', 'x86_64', SERVICE)
check_kept(X64)
check_refusals(X64)
print('%d failed' % len(failures))
sys.exit(1 if failures else 0)
