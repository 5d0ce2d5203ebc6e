package visualizador.formatos;

import java.io.BufferedWriter;
import java.io.IOException;
import java.math.BigDecimal;
import java.nio.file.Path;
import java.time.LocalDate;
import java.util.ArrayList;
import java.util.List;
import visualizador.design.Coluna;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Formatos;
import visualizador.pagina.Totais;
import visualizador.publicacao.TextoParcial;

/**
 * The report's table for other programs, as a spreadsheet in Portuguese reads it: UTF-8 with a
 * byte order mark, ";" between fields, decimal comma without thousands separators, dates as
 * dd/mm/aaaa, CRLF line ends, and one line of column titles. Every column on every line, with no
 * group headers or totals to get in the way of a program; a summary has one line per group with
 * its count and sums. Written as it comes; the file appears only once complete.
 */
public final class DestinoCsv implements Destino {
    private final TextoParcial arquivo;
    private final BufferedWriter out;
    private Cabecalho cabecalho;
    private List<Coluna> colunas;
    /** A summary's columns: group, count, then these columns' sums; null for the full report. */
    private int[] somadas;

    public DestinoCsv(Path arquivo) throws IOException {
        this.arquivo = new TextoParcial(arquivo);
        out = this.arquivo.escritor();
        try {
            out.write('\uFEFF'); // so that a spreadsheet program takes the file as UTF-8
        } catch (IOException | RuntimeException e) {
            this.arquivo.close();
            throw e;
        }
    }

    @Override
    public void inicio(Cabecalho c) throws IOException {
        cabecalho = c;
        colunas = c.colunas();
        final List<String> titulos = new ArrayList<>();
        if (c.somenteTotais()) {
            somadas = c.colunasSomadas();
            titulos.add(c.agrupamento());
            titulos.add("Linhas");
            for (int i : somadas) titulos.add(colunas.get(i).titulo());
        } else {
            for (Coluna col : colunas) titulos.add(col.titulo());
        }
        for (int i = 0; i < titulos.size(); i++) campo(i, texto(titulos.get(i)));
        out.write("\r\n");
    }

    @Override
    public void inicioGrupo(String titulo) {}

    @Override
    public void linha(Object[] valores) throws IOException {
        for (int i = 0; i < valores.length; i++) campo(i, valor(colunas.get(i), valores[i]));
        out.write("\r\n");
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        if (somadas == null) return;
        campo(0, texto(cabecalho.nomeDoGrupo(titulo)));
        campo(1, Long.toString(totais.linhas()));
        for (int k = 0; k < somadas.length; k++) {
            final BigDecimal soma = totais.soma(somadas[k]);
            campo(2 + k, soma == null ? "" : numero(soma, colunas.get(somadas[k]).casas()));
        }
        out.write("\r\n");
    }

    @Override
    public void fim(Totais totais) {
        arquivo.completo();
    }

    @Override
    public void close() throws IOException {
        arquivo.close();
    }

    private void campo(int i, String s) throws IOException {
        if (i > 0) out.write(';');
        out.write(s);
    }

    static String valor(Coluna c, Object v) {
        if (v == null) return "";
        return switch (c.tipo()) {
            case NUMERO -> numero((BigDecimal) v, c.casas());
            case INTEIRO -> v.toString();
            case DATA -> Formatos.data((LocalDate) v);
            case TEXTO -> texto(v.toString());
        };
    }

    /** "-1234,50": the column's decimals, comma, no grouping, which programs would read as text. */
    static String numero(BigDecimal v, int casas) {
        return v.setScale(casas, java.math.RoundingMode.HALF_UP).toPlainString().replace('.', ',');
    }

    /**
     * A text field, in quotes when it holds a separator, a quote or a line end. A text a
     * spreadsheet would take for a formula ("=", "+", "-", "@" first) gets an apostrophe in
     * front, as spreadsheets mark text: a product name must never run as a formula on the
     * reader's computer. A "-" before a digit is left alone (a reference like "-12" is no formula).
     */
    static String texto(String s) {
        String t = s;
        if (!t.isEmpty()) {
            final char c = t.charAt(0);
            final boolean numeroNegativo = c == '-' && t.length() > 1 && Character.isDigit(t.charAt(1))
                    && t.chars().allMatch(ch -> Character.isDigit(ch) || ch == ',' || ch == '.' || ch == '-');
            if (c == '=' || c == '+' || c == '@' || c == '\t' || c == '\r' || (c == '-' && !numeroNegativo)) t = "'" + t;
        }
        if (t.indexOf(';') < 0 && t.indexOf('"') < 0 && t.indexOf('\n') < 0 && t.indexOf('\r') < 0) return t;
        return '"' + t.replace("\"", "\"\"") + '"';
    }
}
