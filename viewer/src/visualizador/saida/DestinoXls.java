package visualizador.saida;

import java.io.IOException;
import java.io.OutputStream;
import java.math.BigDecimal;
import java.nio.file.Files;
import java.nio.file.Path;
import java.time.LocalDate;
import java.time.temporal.ChronoUnit;
import java.util.List;
import org.apache.poi.hssf.usermodel.HSSFCell;
import org.apache.poi.hssf.usermodel.HSSFRow;
import org.apache.poi.hssf.usermodel.HSSFSheet;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.ss.util.CellRangeAddress;
import visualizador.design.Coluna;

/**
 * The report as one flat .xls table the user can sort and filter: a frozen header with an
 * auto-filter, one row per line with every column (the grouping's included), typed cells, and a
 * bold grand-total line below. Group headers and subtotals would break sorting, so they are left
 * out. Past a sheet's 65,536 rows the table goes on in "Relatório (2)", and so on.
 */
public final class DestinoXls implements Destino {
    /**
     * The most lines written to XLS. HSSF keeps the whole workbook in memory, then builds the
     * whole file in memory again to write it. Measured with lines like the design's (11 columns,
     * two long composed texts, a distinct description and reference per line, four numbers, a
     * date): 1.64 KB of live heap per line once filled, and writing roughly doubles that. With
     * -Xmx512m, 180,000 lines were written and 200,000 ran out of memory while writing; 100,000
     * lines were written in a 300 MB heap (24 MB file), which leaves some 200 MB of a 512 MB heap
     * to the rest of the viewer (the preview's PDF among it).
     */
    public static final long LIMITE_LINHAS = 100_000;
    /** HSSF's rows per sheet, the header row included. */
    static final int LINHAS_POR_FOLHA = 65_536;
    static final String NOME_FOLHA = "Relatório";
    /** The longest text an .xls cell holds. */
    private static final int MAX_TEXTO = 32_767;
    private static final LocalDate ORIGEM_EXCEL = LocalDate.of(1899, 12, 30);
    private static final LocalDate PRIMEIRA_DATA = LocalDate.of(1900, 3, 1);

    private final Path arquivo;
    private HSSFWorkbook livro = new HSSFWorkbook();
    private List<Coluna> colunas;
    private EstilosXls estilos;
    private HSSFSheet folha;
    private int proximaLinha;
    private boolean completo;

    public DestinoXls(Path arquivo) {
        this.arquivo = arquivo;
    }

    @Override
    public void inicio(Cabecalho cabecalho) {
        colunas = cabecalho.colunas();
        estilos = new EstilosXls(livro, colunas);
        novaFolha();
    }

    @Override
    public void inicioGrupo(String titulo) {}

    @Override
    public void linha(Object[] valores) {
        if (proximaLinha == LINHAS_POR_FOLHA) {
            filtrar();
            novaFolha();
        }
        final HSSFRow linha = folha.createRow(proximaLinha++);
        for (int i = 0; i < valores.length; i++)
            if (valores[i] != null) celula(linha, i, valores[i]);
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) {}

    @Override
    public void fim(Totais totais) {
        filtrar();
        // The total goes below a blank row, outside the filter, so sorting never moves it.
        if (proximaLinha + 2 > LINHAS_POR_FOLHA) {
            novaFolha();
            filtrar();
        }
        final HSSFRow linha = folha.createRow(proximaLinha + 1);
        final HSSFCell rotulo = linha.createCell(0);
        rotulo.setCellStyle(estilos.rotuloTotal);
        if (totais.linhas() == 0) {
            rotulo.setCellValue(Formatos.NENHUM_REGISTRO);
        } else {
            rotulo.setCellValue("Total geral: " + Formatos.linhas(totais.linhas()));
            for (int i = 0; i < colunas.size(); i++) {
                final BigDecimal soma = totais.soma(i);
                if (soma == null) continue;
                final HSSFCell c = linha.createCell(i);
                c.setCellValue(soma.doubleValue());
                c.setCellStyle(estilos.total(i));
            }
        }
        completo = true;
    }

    /** Writes the file only when the report reached its end; otherwise leaves none. */
    @Override
    public void close() throws IOException {
        final HSSFWorkbook l = livro;
        livro = null;
        if (l == null) return;
        try (l) {
            if (!completo) return;
            try (ArquivoParcial parcial = new ArquivoParcial(arquivo)) {
                try (OutputStream out = Files.newOutputStream(parcial.temporario())) {
                    l.write(out);
                }
                parcial.concluir();
            }
        }
    }

    private void novaFolha() {
        final int n = livro.getNumberOfSheets();
        folha = livro.createSheet(n == 0 ? NOME_FOLHA : NOME_FOLHA + " (" + (n + 1) + ")");
        final HSSFRow titulos = folha.createRow(0);
        for (int i = 0; i < colunas.size(); i++) {
            final Coluna c = colunas.get(i);
            final HSSFCell celula = titulos.createCell(i);
            celula.setCellValue(c.titulo());
            celula.setCellStyle(estilos.titulo);
            folha.setColumnWidth(i, largura(c));
        }
        folha.createFreezePane(0, 1);
        proximaLinha = 1;
    }

    /** The auto-filter over the header and the lines of the current sheet. */
    private void filtrar() {
        folha.setAutoFilter(new CellRangeAddress(0, Math.max(0, proximaLinha - 1), 0, colunas.size() - 1));
    }

    /**
     * Page points to characters: the page prints at about 7 points, where a character is some 3.5
     * points wide; the header's filter button needs room beside the title too.
     */
    static int largura(Coluna c) {
        final double caracteres = Math.max(c.largura() / 3.5, c.titulo().length() + 4);
        return (int) Math.min(255, caracteres) * 256;
    }

    private void celula(HSSFRow linha, int i, Object valor) {
        final HSSFCell c = linha.createCell(i);
        c.setCellStyle(estilos.dado(i));
        if (valor instanceof BigDecimal n) c.setCellValue(n.doubleValue());
        else if (valor instanceof Long n) c.setCellValue(n.doubleValue());
        else if (valor instanceof LocalDate d && !d.isBefore(PRIMEIRA_DATA)) c.setCellValue(serial(d));
        else if (valor instanceof LocalDate d) c.setCellValue(Formatos.data(d)); // before Excel's calendar
        else {
            final String s = valor.toString();
            c.setCellValue(s.length() > MAX_TEXTO ? s.substring(0, MAX_TEXTO) : s);
        }
    }

    /** Excel's day number, with no time zone involved (a date-only value must not shift a day). */
    private static double serial(LocalDate d) {
        return ChronoUnit.DAYS.between(ORIGEM_EXCEL, d);
    }
}
