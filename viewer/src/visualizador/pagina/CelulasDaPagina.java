package visualizador.pagina;

import visualizador.design.Alinhamento;

/**
 * Texts set into cells: wrapped at blanks into the lines of a cell, cut with "…", or, for a
 * number or date, set smaller, since a cut one would read wrong. The pieces of the last text
 * wrapped in each cell are kept until it is drawn, in arrays reused line after line.
 */
final class CelulasDaPagina<F extends Metrica> {
    /** A longer text ends with "…": a row must fit a page. */
    private static final int LINHAS_POR_CELULA = 12;
    private static final float MENOR_FONTE = 3; // a number is made smaller, never cut

    private final Pintura<F> pintura;
    private final int[][] inicios;
    private final int[][] fins;
    private final int[] pedacos;
    private final boolean[] cortada;

    /** @param celulas how many cells keep their pieces at once */
    CelulasDaPagina(Pintura<F> pintura, int celulas) {
        this.pintura = pintura;
        inicios = new int[celulas][LINHAS_POR_CELULA];
        fins = new int[celulas][LINHAS_POR_CELULA];
        pedacos = new int[celulas];
        cortada = new boolean[celulas];
    }

    /** How many lines cell {@code celula}'s text took; 0 once {@link #esquecer}. */
    int pedacos(int celula) {
        return pedacos[celula];
    }

    void esquecer(int celula) {
        pedacos[celula] = 0;
    }

    /**
     * Splits {@code s} into the lines of its cell, at blanks where it can, and returns the height
     * they take; the pieces are kept for {@link #pedaco}. A cut text stays on one line with "…".
     */
    float quebrar(int celula, F f, String s, float larguraColuna, boolean cortar) {
        final int[] ini = inicios[celula];
        final int[] fim = fins[celula];
        final float cabe = (larguraColuna - 2 * Diagramacao.FOLGA) * 1000 / Diagramacao.CORPO;
        final int n = s.length();
        int linhas = 0;
        int i = 0;
        cortada[celula] = false;
        while (true) {
            final int k = f.caber(s, i, cabe);
            ini[linhas] = i;
            if (k >= n) {
                fim[linhas++] = n;
                break;
            }
            if (cortar || linhas == ini.length - 1) {
                fim[linhas++] = Math.max(i, f.caber(s, i, cabe - f.largura(Metrica.RETICENCIAS)));
                cortada[celula] = true;
                break;
            }
            int corte = k;
            while (corte > i && s.charAt(corte) != ' ') corte--;
            if (corte == i) corte = Math.max(k, i + 1); // one word wider than the cell: broken anywhere
            int fimLinha = corte;
            while (fimLinha > i && s.charAt(fimLinha - 1) == ' ') fimLinha--;
            fim[linhas++] = fimLinha;
            i = corte;
            while (i < n && s.charAt(i) == ' ') i++;
            if (i >= n) break;
        }
        pedacos[celula] = linhas;
        return Diagramacao.LINHA + (linhas - 1) * Diagramacao.ENTRELINHA;
    }

    /** Writes the pieces {@link #quebrar} found, one under the other from baseline {@code y}. */
    void pedacos(int celula, F f, String s, float esquerda, float larguraColuna, Alinhamento al, float y) {
        for (int j = 0; j < pedacos[celula]; j++) pedaco(celula, j, f, s, esquerda, larguraColuna, al, y);
    }

    /** Line {@code j} of a wrapped cell whose first line sits on baseline {@code y}. */
    void pedaco(int celula, int j, F f, String s, float esquerda, float larguraColuna, Alinhamento al, float y) {
        final int ini = inicios[celula][j];
        final int fim = fins[celula][j];
        final boolean reticencias = cortada[celula] && j == pedacos[celula] - 1;
        final float w = al == Alinhamento.ESQUERDA || reticencias ? 0
                : (f.largura(s, ini, fim) + (reticencias ? f.largura(Metrica.RETICENCIAS) : 0)) * Diagramacao.CORPO / 1000;
        pintura.texto(f, Diagramacao.CORPO, alinhar(reticencias ? Alinhamento.ESQUERDA : al, esquerda, larguraColuna, w),
                y - j * Diagramacao.ENTRELINHA, s, ini, fim, reticencias);
    }

    /**
     * One line in a cell, inside an open text object, never wider than its column: a number or
     * date is set smaller when it does not fit (with {@code encolher}); text is cut with "…".
     */
    void celula(F f, float tamanho, CharSequence s, float esquerda, float larguraColuna, Alinhamento al,
                boolean encolher, float base) {
        if (s == null || s.isEmpty()) return;
        final float cabe = larguraColuna - 2 * Diagramacao.FOLGA;
        float w = f.largura(s, cabe * 1000 / tamanho) * tamanho / 1000;
        float t = tamanho;
        int fim = s.length();
        boolean cortado = false;
        if (w > cabe) {
            final float inteira = encolher ? f.largura(s) * tamanho / 1000 : 0;
            if (encolher && tamanho * cabe / inteira >= MENOR_FONTE) {
                t = tamanho * cabe / inteira;
            } else {
                fim = Math.max(0, f.caber(s, cabe * 1000 / tamanho - f.largura(Metrica.RETICENCIAS)));
                cortado = true;
                al = Alinhamento.ESQUERDA;
            }
            w = cabe;
        }
        pintura.texto(f, t, alinhar(al, esquerda, larguraColuna, w), base, s, 0, fim, cortado);
    }

    private static float alinhar(Alinhamento al, float esquerda, float larguraColuna, float w) {
        return switch (al) {
            case ESQUERDA -> esquerda + Diagramacao.FOLGA;
            case DIREITA -> esquerda + larguraColuna - Diagramacao.FOLGA - w;
            case CENTRO -> esquerda + (larguraColuna - w) / 2;
        };
    }
}
