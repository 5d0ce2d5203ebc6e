package visualizador.pagina;

import java.math.BigDecimal;
import java.util.ArrayList;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/**
 * The printed columns of a page, left to right: the design column each shows (-1: a summary's
 * group name or line count), its title, alignment, place and width; and, where the header gives a
 * legend, each text's code. Numbers get room for any total; the page's spare width goes to the
 * columns that grow.
 */
final class ColunasDaPagina {
    /** Between a column's title and its codes in the header's legend. */
    static final String LEGENDA = " (código nas linhas): ";
    /** A total prints at body size up to this many digits; its column is made that wide. */
    static final int DIGITOS_TOTAL = 13;
    /** Up to this many codes a column with a legend shows codes; more would crowd the header. */
    static final int MAXIMO_LEGENDA = 12;
    /** A column measured wider still gets this much: its text wraps, its number is set smaller. */
    private static final float MAIOR_MEDIDA = Diagramacao.UTIL / 4;

    final int[] origem;
    final String[] titulos;
    final Alinhamento[] alinhamentos;
    final float[] x;
    final float[] largura;
    /** A total line's label spans the columns before it. */
    int primeiraTotal;
    /** Per printed column with a legend: each text's code; else null. */
    final List<Map<String, String>> codigos;
    /** Header lines: each legend column's codes with their texts. */
    final List<String> legendas;

    private final List<Coluna> colunas;

    private ColunasDaPagina(List<Coluna> colunas, int n) {
        this.colunas = colunas;
        origem = new int[n];
        titulos = new String[n];
        alinhamentos = new Alinhamento[n];
        largura = new float[n];
        x = new float[n];
        codigos = new ArrayList<>(Collections.nCopies(n, null));
        legendas = new ArrayList<>();
    }

    /** The design's columns less those the group header already shows. */
    static ColunasDaPagina dasLinhas(Cabecalho cabecalho, Metrica normal, Metrica negrito) {
        final List<Coluna> colunas = cabecalho.colunas();
        final List<Integer> visiveis = new ArrayList<>();
        for (int i = 0; i < colunas.size(); i++)
            if (!cabecalho.camposDoGrupo().contains(colunas.get(i).campo())) visiveis.add(i);
        final int n = visiveis.size();
        final ColunasDaPagina p = new ColunasDaPagina(colunas, n);
        final boolean[] cresce = new boolean[n];
        final boolean[] medida = new boolean[n];
        final LarguraNecessaria necessaria = new LarguraNecessaria(normal, negrito, Diagramacao.CORPO, Diagramacao.FOLGA);
        p.comLegenda(cabecalho, visiveis);
        for (int i = 0; i < n; i++) {
            final Coluna c = colunas.get(visiveis.get(i));
            p.origem[i] = visiveis.get(i);
            p.titulos[i] = c.titulo();
            p.alinhamentos[i] = c.alinhamento();
            final float w = Math.min(necessaria.de(c, cabecalho.medida(p.origem[i]), p.codigos.get(i) != null),
                    MAIOR_MEDIDA);
            medida[i] = !Float.isNaN(w);
            p.largura[i] = medida[i] ? w
                    : c.total() ? Math.max(c.largura(), larguraDeTotal(negrito, c.titulo(), c.casas()))
                    : c.tipo() == TipoColuna.DATA
                            ? Math.max(c.largura(), normal.largura("00/00/0000") * Diagramacao.CORPO / 1000 + 2 * Diagramacao.FOLGA)
                    : c.largura();
            cresce[i] = c.cresce();
        }
        // A column sized by what it holds needs no more: the spare width goes to the growing
        // columns that were not measured (the description), when there are any.
        boolean outras = false;
        for (int i = 0; i < n; i++) outras |= cresce[i] && !medida[i];
        if (outras) {
            for (int i = 0; i < n; i++) cresce[i] &= !medida[i];
            p.cederAoQueCresce(cresce);
        }
        return p.posicionar(cresce, false);
    }

    /** A summary's: the group's name, its line count and the total columns. */
    static ColunasDaPagina doResumo(Cabecalho cabecalho, Metrica normal, Metrica negrito) {
        final List<Coluna> colunas = cabecalho.colunas();
        final int[] somadas = cabecalho.colunasSomadas();
        final int n = somadas.length + 2;
        final ColunasDaPagina p = new ColunasDaPagina(colunas, n);
        final boolean[] cresce = new boolean[n];
        p.origem[0] = p.origem[1] = -1;
        p.titulos[0] = cabecalho.agrupamento();
        p.titulos[1] = "Linhas";
        p.alinhamentos[0] = Alinhamento.ESQUERDA;
        p.alinhamentos[1] = Alinhamento.DIREITA;
        cresce[0] = true;
        p.largura[1] = Math.max(negrito.largura("Linhas"), negrito.largura("999.999.999")) * Diagramacao.CORPO / 1000
                + 2 * Diagramacao.FOLGA;
        final LarguraNecessaria necessaria = new LarguraNecessaria(normal, negrito, Diagramacao.CORPO, Diagramacao.FOLGA);
        for (int i = 2; i < n; i++) {
            final Coluna c = colunas.get(somadas[i - 2]);
            p.origem[i] = somadas[i - 2];
            p.titulos[i] = c.titulo();
            p.alinhamentos[i] = c.alinhamento();
            final float w = Math.min(necessaria.de(c, cabecalho.medida(p.origem[i]), false), MAIOR_MEDIDA);
            p.largura[i] = Float.isNaN(w) ? Math.max(c.largura(), larguraDeTotal(negrito, c.titulo(), c.casas())) : w;
        }
        return p.posicionar(cresce, true);
    }

    /** How many columns print. */
    int quantas() {
        return origem.length;
    }

    /** Where the last column ends. */
    float fim() {
        return x[x.length - 1] + largura[largura.length - 1];
    }

    /** A text as the line shows it: the code alone where the header gives a legend. */
    String naLinha(int coluna, String s) {
        final Map<String, String> m = codigos.get(coluna);
        return m == null ? s : m.getOrDefault(s, s);
    }

    /**
     * A plain text measured only by its longest value may owe its width to one odd line: when the
     * growing columns would get less than their design width, such a column gives its width back,
     * down to its design width, so that odd line wraps rather than every description being cut.
     */
    private void cederAoQueCresce(boolean[] cresce) {
        float fixas = 0, desejada = 0;
        for (int i = 0; i < largura.length; i++) {
            if (cresce[i]) desejada += colunas.get(origem[i]).largura();
            else fixas += largura[i];
        }
        float falta = desejada - (Diagramacao.UTIL - fixas);
        for (int i = 0; i < largura.length && falta > 0; i++) {
            final Coluna c = colunas.get(origem[i]);
            final boolean soOMaisLongo = c.tipo() == TipoColuna.TEXTO && !c.composta() && c.valoresSql() == null;
            if (cresce[i] || !soOMaisLongo || largura[i] <= c.largura()) continue;
            final float cede = Math.min(largura[i] - c.largura(), falta);
            largura[i] -= cede;
            falta -= cede;
        }
    }

    /** Each text's code, where the design asks for a legend and several codes may show. */
    private void comLegenda(Cabecalho cabecalho, List<Integer> visiveis) {
        for (int i = 0; i < visiveis.size(); i++) {
            final Coluna c = colunas.get(visiveis.get(i));
            final MedidaColuna m = cabecalho.medida(visiveis.get(i));
            if (!c.legenda() || m.codigos().size() < 2 || m.codigos().size() > MAXIMO_LEGENDA) continue;
            final Map<String, String> codigo = new HashMap<>();
            for (int k = 0; k < m.codigos().size(); k++) codigo.put(m.textos().get(k), m.codigos().get(k));
            codigos.set(i, codigo);
            legendas.add(c.titulo() + LEGENDA + String.join(" · ", m.textos().subList(0, m.codigos().size())));
        }
    }

    /** Room for the title and for the widest figure of {@link #DIGITOS_TOTAL} digits, negative, in bold. */
    private static float larguraDeTotal(Metrica negrito, String titulo, int casas) {
        final String maior = Formatos.numero(new BigDecimal("-" + "9".repeat(DIGITOS_TOTAL)).movePointLeft(casas), casas);
        return Math.max(negrito.largura(maior), negrito.largura(titulo)) * Diagramacao.CORPO / 1000 + 2 * Diagramacao.FOLGA;
    }

    /**
     * Places the columns: the page's spare width goes to the growing ones, in proportion to their
     * width; when they are too wide, the growing ones give way first, then all of them.
     */
    private ColunasDaPagina posicionar(boolean[] cresce, boolean resumo) {
        final int n = largura.length;
        final float util = Diagramacao.UTIL;
        float soma = 0;
        float somaCresce = 0;
        int quantasCrescem = 0;
        for (int i = 0; i < n; i++) {
            soma += largura[i];
            if (cresce[i]) {
                somaCresce += largura[i];
                quantasCrescem++;
            }
        }
        float esquerda = Diagramacao.MARGEM;
        if (soma <= util && quantasCrescem > 0) {
            for (int i = 0; i < n; i++)
                if (cresce[i]) largura[i] += (util - soma) * (somaCresce > 0 ? largura[i] / somaCresce : 1f / quantasCrescem);
        } else if (soma <= util) {
            esquerda += (util - soma) / 2;
        } else if (somaCresce > (soma - util) * 2) {
            final float fator = 1 - (soma - util) / somaCresce;
            for (int i = 0; i < n; i++)
                if (cresce[i]) largura[i] *= fator;
        } else {
            for (int i = 0; i < n; i++) largura[i] *= util / soma;
        }
        primeiraTotal = n;
        for (int i = 0; i < n; i++) {
            x[i] = esquerda;
            esquerda += largura[i];
            if (primeiraTotal == n && origem[i] >= 0 && colunas.get(origem[i]).total()) primeiraTotal = i;
        }
        if (resumo) primeiraTotal = 1;
        return this;
    }
}
