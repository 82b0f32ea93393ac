#!/usr/bin/env python3
"""Builds the release package with cpack from the product (i686) build and
checks that it lists exactly the operators' files: the launcher template
(byte-identical to the build's exe), the i686 stamp tool and skin viewer, the
README and the shipped configuration and skin as the worked example.
Usage: check_package.py PRODUCT_BUILD_DIR VERSION RESOURCES_DIR OUT_DIR"""
import os
import shutil
import subprocess
import sys
import zipfile

failures = []


def check(cond, what):
    print(('ok   ' if cond else 'FAIL ') + what)
    if not cond:
        failures.append(what)


build, version, resources, out = sys.argv[1:5]
shutil.rmtree(out, ignore_errors=True)
r = subprocess.run(['cpack', '-G', 'ZIP', '--config', os.path.join(build, 'CPackConfig.cmake'), '-B', out],
                   capture_output=True, text=True)
check(r.returncode == 0, 'cpack makes the package: ' + (r.stdout + r.stderr).strip().replace('\n', ' | '))
top = 'varnelTemplate-%s-win32' % version
path = os.path.join(out, top + '.zip')
check(os.path.isfile(path), 'the package is named %s.zip' % top)
if os.path.isfile(path):
    package = zipfile.ZipFile(path)
    files = sorted(n for n in package.namelist() if not n.endswith('/'))
    source = {'varnelTemplate.exe': os.path.join(build, 'varnelTemplate.exe'),
              'varnelStamp.exe': os.path.join(build, 'varnelStamp.exe'),
              'varnelSkinView.exe': os.path.join(build, 'varnelSkinView.exe'),
              'README.txt': os.path.join(resources, 'package', 'README.txt'),
              'example/config.xml': os.path.join(resources, 'config.xml')}
    for name in os.listdir(os.path.join(resources, 'skin')):
        source['example/skin/' + name] = os.path.join(resources, 'skin', name)
    expected = sorted(top + '/' + n for n in source)
    check(files == expected, 'the package lists exactly the %d files: %s' % (len(expected), ', '.join(files)))
    for name, src in sorted(source.items()):
        member = top + '/' + name
        check(member in files and package.read(member) == open(src, 'rb').read(),
              '%s is byte-identical to %s' % (member, src))
    stamp = os.path.join(build, 'varnelStamp.exe')
    desc = subprocess.run(['file', '-b', stamp], capture_output=True, text=True).stdout
    check('PE32 executable (console) Intel 80386' in desc, 'the stamp tool runs on any Windows: ' + desc.strip())
    viewer = os.path.join(build, 'varnelSkinView.exe')
    desc = subprocess.run(['file', '-b', viewer], capture_output=True, text=True).stdout
    check('PE32 executable (GUI) Intel 80386' in desc, 'the skin viewer runs on any Windows: ' + desc.strip())
print('%d failed' % len(failures))
sys.exit(1 if failures else 0)
