#!/usr/bin/env python3
"""Converts the XWD frame buffer that Xvfb keeps with -fbdir (24-bit TrueColor) into a PNG file.

Only the standard library: the documentation picture needs no image package."""
import struct
import sys
import zlib


def le_xwd(caminho):
    with open(caminho, "rb") as f:
        dados = f.read()
    for ordem in (">", "<"):
        campos = struct.unpack(ordem + "25I", dados[:100])
        if campos[1] == 7 and 100 <= campos[0] < 4096:
            break
    else:
        raise SystemExit("not an XWD file of version 7: " + caminho)
    (tam_cabecalho, _versao, _formato, _profundidade, largura, altura, _xoff, ordem_bytes, _unit, _bit_order,
     _pad, bits_pixel, bytes_linha, _classe, mask_r, mask_g, mask_b, _bits_rgb, _entradas, ncores,
     *_resto) = campos
    if bits_pixel != 32:
        raise SystemExit("expected 32 bits per pixel, got %d" % bits_pixel)
    inicio = tam_cabecalho + 12 * ncores
    formato_pixel = "<I" if ordem_bytes == 0 else ">I"

    def deslocamento(mask):
        d = 0
        while mask and not mask & 1:
            mask >>= 1
            d += 1
        return d

    dr, dg, db = deslocamento(mask_r), deslocamento(mask_g), deslocamento(mask_b)
    linhas = []
    for y in range(altura):
        base = inicio + y * bytes_linha
        linha = bytearray([0])  # PNG filter type 0 for every row
        for x in range(largura):
            (p,) = struct.unpack_from(formato_pixel, dados, base + 4 * x)
            linha += bytes(((p & mask_r) >> dr, (p & mask_g) >> dg, (p & mask_b) >> db))
        linhas.append(bytes(linha))
    return largura, altura, b"".join(linhas)


def grava_png(caminho, largura, altura, bruto):
    def bloco(tipo, conteudo):
        return (struct.pack(">I", len(conteudo)) + tipo + conteudo
                + struct.pack(">I", zlib.crc32(tipo + conteudo) & 0xFFFFFFFF))

    with open(caminho, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(bloco(b"IHDR", struct.pack(">IIBBBBB", largura, altura, 8, 2, 0, 0, 0)))
        f.write(bloco(b"IDAT", zlib.compress(bruto, 9)))
        f.write(bloco(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: xwd-para-png.py FRAMEBUFFER.xwd OUT.png")
    grava_png(sys.argv[2], *le_xwd(sys.argv[1]))
