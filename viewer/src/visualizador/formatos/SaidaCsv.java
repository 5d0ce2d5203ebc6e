package visualizador.formatos;

import java.io.BufferedWriter;
import java.io.IOException;
import java.math.BigDecimal;
import java.math.RoundingMode;
import java.nio.file.Path;
import java.time.LocalDate;
import java.util.List;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.ColunaTabela;
import visualizador.pagina.Formatos;
import visualizador.pagina.LinhaTabela;
import visualizador.pagina.SaidaTabela;
import visualizador.pagina.Tabela;
import visualizador.publicacao.TextoParcial;

/**
 * The report's table as CSV (see {@link DestinoCsv}): the column titles, then the lines, or a
 * summary's rows; group headers and totals would get in the way of a program and are left out.
 */
final class SaidaCsv implements SaidaTabela {
    private final TextoParcial arquivo;
    private final BufferedWriter out;
    private List<ColunaTabela> colunas;

    SaidaCsv(Path arquivo) throws IOException {
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
    public void inicio(Tabela tabela, Cabecalho cabecalho) throws IOException {
        colunas = tabela.colunas();
        for (int i = 0; i < colunas.size(); i++) campo(i, DestinoCsv.texto(colunas.get(i).titulo()));
        out.write("\r\n");
    }

    @Override
    public void linha(LinhaTabela linha) throws IOException {
        switch (linha.tipo()) {
            case DETALHE, RESUMO -> {
                for (int i = 0; i < colunas.size(); i++) {
                    if (i > 0) out.write(';');
                    valor(linha.valor(i), colunas.get(i).casas());
                }
                out.write("\r\n");
            }
            default -> { }
        }
    }

    @Override
    public void fim() {
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

    /** Every text goes through the quoting and formula rules, whatever its column's declared type. */
    private void valor(Object v, int casas) throws IOException {
        if (v == null) return;
        if (v instanceof BigDecimal n) numero(n, casas);
        else if (v instanceof LocalDate d) out.write(Formatos.data(d));
        else if (v instanceof String s) out.write(DestinoCsv.texto(s));
        else out.write(v.toString());
    }

    /**
     * "-1234,50": the column's decimals, comma, no grouping, which programs would read as text.
     * Written in pieces: a large report has millions of figures.
     */
    private void numero(BigDecimal v, int casas) throws IOException {
        final String s = v.setScale(casas, RoundingMode.HALF_UP).toPlainString();
        final int ponto = s.indexOf('.');
        if (ponto < 0) {
            out.write(s);
            return;
        }
        out.write(s, 0, ponto);
        out.write(',');
        out.write(s, ponto + 1, s.length() - ponto - 1);
    }
}
