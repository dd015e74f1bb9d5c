"""Writes the silent sound: PCM, 1 channel, 11025 Hz, 16 bits, 202,494 zero bytes."""
import struct
import sys

DATA_BYTES = 202494
RATE, CHANNELS, BITS = 11025, 1, 16
block = CHANNELS * BITS // 8
header = (b"RIFF" + struct.pack("<I", 36 + DATA_BYTES) + b"WAVE"
          + b"fmt " + struct.pack("<IHHIIHH", 16, 1, CHANNELS, RATE, RATE * block, block, BITS)
          + b"data" + struct.pack("<I", DATA_BYTES))
with open(sys.argv[1], "wb") as f:
    f.write(header + bytes(DATA_BYTES))
