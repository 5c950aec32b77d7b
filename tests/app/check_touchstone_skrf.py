#!/usr/bin/python3
"""The Touchstone export as an independent reader sees it: scikit-rf must read the file
"kivra --export touchstone" writes with the frequencies and reflection coefficients worked
out here from the raw line file, to 1e-6. Usage: check_touchstone_skrf.py KIVRA"""
import math
import os
import subprocess
import sys
import tempfile

try:
    import numpy
    import skrf
except ImportError as e:
    sys.exit("python3-scikit-rf is missing (%s): scripts/deps.sh installs it" % e)

Z0 = 75.0
# A sweep with an unreadable line and a load of -Z0, which the file leaves out.
lines = ["1000 20 -20", "7049.6 50 50", "11000 4x 3", "14000 -75 0", "21000 250.5 -120.25",
         "29999 0 0", "30000 1000 3000"]
lines += ["%d %.1f %.1f" % (1000 + 10 * i, 40 + 20 * math.sin(i / 30), 80 * math.cos(i / 17))
          for i in range(2901)]

with tempfile.TemporaryDirectory() as folder:
    source = os.path.join(folder, "sweep.TXT")
    target = os.path.join(folder, "sweep.s1p")
    with open(source, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("latin-1"))
    env = dict(os.environ, XDG_CONFIG_HOME=folder)
    env.pop("DISPLAY", None)
    subprocess.run([sys.argv[1], "--export", "touchstone", "--z0", "75", source, target],
                   check=True, env=env, stdout=subprocess.DEVNULL)
    network = skrf.Network(target)

f, s = [], []
for line in lines:
    try:
        khz, r, x = (float(v) for v in line.split(" "))
    except ValueError:
        continue
    z = complex(r, x)
    if z + Z0 == 0:
        continue
    f.append(khz * 1e3)
    s.append((z - Z0) / (z + Z0))

if network.nports != 1 or network.s.shape != (len(f), 1, 1):
    sys.exit("read %s ports, shape %s; expected 1 port, %d points"
             % (network.nports, network.s.shape, len(f)))
if not numpy.allclose(network.f, f, rtol=1e-6, atol=0):
    sys.exit("frequencies differ: %s" % numpy.max(numpy.abs(network.f - f)))
if not numpy.allclose(network.s[:, 0, 0], s, rtol=0, atol=1e-6):
    sys.exit("reflection coefficients differ: %s"
             % numpy.max(numpy.abs(network.s[:, 0, 0] - s)))
if not numpy.allclose(network.z0[:, 0], Z0):
    sys.exit("reference impedance %s, expected %s" % (network.z0[0, 0], Z0))
print("scikit-rf %s read %d points as written" % (skrf.__version__, len(f)))
