#!/usr/bin/env python3
"""Writes the program's icon as a Windows .ico file (16, 24, 32 and 48 pixels, 32-bit with alpha):
the drawing of the Linux window's icon, a rounded teal tile with a white "Z" and an amber dot on a
24-pixel grid, rendered here by supersampling so that the build needs no image library.
Usage: icone-zelp.py FILE.ico"""
import math
import struct
import sys

TAMANHOS = (16, 24, 32, 48)
AMOSTRAS = 6  # per pixel and axis

BORDA = (0x06, 0x4E, 0x4A)
FUNDO = (0x0F, 0x76, 0x6E)
BRANCO = (0xFF, 0xFF, 0xFF)
AMBAR = (0xF5, 0x9E, 0x0B)

Z = [(6.5, 6.5), (17.5, 6.5), (6.5, 17.5), (17.5, 17.5)]
LARGURA_Z = 2.8


def no_retangulo_arredondado(x, y, x0, y0, x1, y1, raio):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + raio), x1 - raio)
    cy = min(max(y, y0 + raio), y1 - raio)
    return (x - cx) ** 2 + (y - cy) ** 2 <= raio * raio


def no_traco(x, y):
    # Square caps at the two ends of the path; at its two bends the segments meet in a round join,
    # which at this size cannot be told from the bevel that the Linux drawing gets there.
    meia = LARGURA_Z / 2
    ultimo = len(Z) - 2
    for n, ((ax, ay), (bx, by)) in enumerate(zip(Z, Z[1:])):
        dx, dy = bx - ax, by - ay
        comprimento = math.hypot(dx, dy)
        ux, uy = dx / comprimento, dy / comprimento
        px, py = x - ax, y - ay
        ao_longo = px * ux + py * uy
        atraves = -px * uy + py * ux
        inicio = -meia if n == 0 else 0.0
        fim = comprimento + (meia if n == ultimo else 0.0)
        if inicio <= ao_longo <= fim and abs(atraves) <= meia:
            return True
    return any((x - vx) ** 2 + (y - vy) ** 2 <= meia * meia for vx, vy in Z[1:-1])


def cor_em(x, y):
    """The colour with alpha of one point of the 24-unit drawing, painted in the Linux icon's order."""
    cor = None
    if no_retangulo_arredondado(x, y, 0.0, 0.0, 24.0, 24.0, 5.5):
        cor = BORDA
        if no_retangulo_arredondado(x, y, 1.0, 1.0, 23.0, 23.0, 4.5):
            cor = FUNDO
    if no_traco(x, y):
        cor = BRANCO
    if (x - 19.0) ** 2 + (y - 12.0) ** 2 <= 2.2 * 2.2:
        cor = AMBAR
    return cor


def desenha(lado):
    """Rows top to bottom of (b, g, r, a) pixels, premultiplication left to the system."""
    linhas = []
    escala = 24.0 / lado
    for j in range(lado):
        linha = []
        for i in range(lado):
            soma = [0, 0, 0]
            cobertas = 0
            for sj in range(AMOSTRAS):
                for si in range(AMOSTRAS):
                    cor = cor_em((i + (si + 0.5) / AMOSTRAS) * escala, (j + (sj + 0.5) / AMOSTRAS) * escala)
                    if cor is not None:
                        cobertas += 1
                        for k in range(3):
                            soma[k] += cor[k]
            if cobertas == 0:
                linha.append((0, 0, 0, 0))
            else:
                r, g, b = (round(s / cobertas) for s in soma)
                linha.append((b, g, r, round(255 * cobertas / (AMOSTRAS * AMOSTRAS))))
        linhas.append(linha)
    return linhas


def imagem_dib(lado):
    cabecalho = struct.pack("<IiiHHIIiiII", 40, lado, lado * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(p) for linha in reversed(desenha(lado)) for p in linha)
    mascara = b"\0" * (((lado + 31) // 32) * 4 * lado)  # transparency comes from the alpha
    return cabecalho + pixels + mascara


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    imagens = [imagem_dib(lado) for lado in TAMANHOS]
    saida = struct.pack("<HHH", 0, 1, len(imagens))
    deslocamento = 6 + 16 * len(imagens)
    for lado, dados in zip(TAMANHOS, imagens):
        saida += struct.pack("<BBBBHHII", lado, lado, 0, 0, 1, 32, len(dados), deslocamento)
        deslocamento += len(dados)
    saida += b"".join(imagens)
    with open(sys.argv[1], "wb") as f:
        f.write(saida)


if __name__ == "__main__":
    main()
