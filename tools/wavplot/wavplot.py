#!/usr/bin/env python3
"""Plots 16-bit PCM WAV files as PNG pictures, one row per channel, for looking at what the
game plays: wavplot.py OUT.png FILE.wav [FILE.wav ...] (several files: one strip each).
Each strip is the waveform (min and max per column, red where it reaches full scale) on
one time scale for all, with a grid line every 0.1 s; the length, rate and peak of each go
to standard output. Standard library only."""
import struct
import sys
import zlib

WIDTH, STRIP = 1000, 120


def read_wav(path):
    data = open(path, 'rb').read()
    if data[:4] != b'RIFF' or data[8:12] != b'WAVE':
        raise SystemExit(f'{path}: not a WAV file')
    at, fmt, samples = 12, None, None
    while at + 8 <= len(data):
        tag, size = data[at:at + 4], struct.unpack('<I', data[at + 4:at + 8])[0]
        body = data[at + 8:at + 8 + size]
        if tag == b'fmt ':
            fmt = struct.unpack('<HHIIHH', body[:16])
        elif tag == b'data':
            samples = struct.unpack(f'<{len(body) // 2}h', body[:len(body) // 2 * 2])
        at += 8 + size + (size & 1)
    if not fmt or samples is None or fmt[0] != 1 or fmt[5] != 16:
        raise SystemExit(f'{path}: not 16-bit PCM')
    channels, rate = fmt[1], fmt[2]
    return rate, [samples[c::channels] for c in range(channels)]


def png(path, width, height, rows):
    raw = b''.join(b'\0' + bytes(r) for r in rows)
    def chunk(tag, body):
        return struct.pack('>I', len(body)) + tag + body + struct.pack('>I', zlib.crc32(tag + body) & 0xffffffff)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    if len(sys.argv) < 3:
        raise SystemExit('usage: wavplot.py OUT.png FILE.wav [FILE.wav ...]')
    strips = []
    for path in sys.argv[2:]:
        rate, channels = read_wav(path)
        for c, ch in enumerate(channels):
            strips.append((path, rate, c, ch))
    height = STRIP * len(strips)
    img = [[20, 20, 28] * WIDTH for _ in range(height)]
    def put(x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < height:
            img[y][3 * x:3 * x + 3] = colour
    longest = max(len(s[3]) / s[1] for s in strips)
    for n, (path, rate, c, ch) in enumerate(strips):
        top, mid, half = n * STRIP, n * STRIP + STRIP // 2, STRIP // 2 - 6
        per_col = longest * rate / WIDTH
        for x in range(WIDTH):
            put(x, mid, (70, 70, 90))
            put(x, top, (90, 90, 110))
        t = 0.0
        while t < longest:
            for y in range(top + 1, top + STRIP):
                put(int(t * rate / per_col), y, (45, 45, 60))
            t += 0.1
        for x in range(WIDTH):
            a, b = int(x * per_col), int((x + 1) * per_col)
            seg = ch[a:max(b, a + 1)]
            if not seg:
                break
            lo, hi = min(seg), max(seg)
            y0, y1 = mid - hi * half // 32768, mid - lo * half // 32768
            clip = (255, 60, 60) if hi >= 32767 or lo <= -32768 else (120, 220, 140)
            for y in range(y0, y1 + 1):
                put(x, y, clip)
        print(f'{path} ch{c}: {len(ch)} samples, {len(ch) / rate:.3f} s at {rate} Hz, peak {max(abs(v) for v in ch)}')
    png(sys.argv[1], WIDTH, height, img)


if __name__ == '__main__':
    main()
