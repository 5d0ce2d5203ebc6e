package visualizador.formatos;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.HashMap;
import java.util.Map;
import org.apache.poi.hssf.usermodel.HSSFCell;
import org.apache.poi.hssf.usermodel.HSSFCellStyle;
import org.apache.poi.hssf.usermodel.HSSFFont;
import org.apache.poi.hssf.usermodel.HSSFRow;
import org.apache.poi.hssf.usermodel.HSSFSheet;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.ss.usermodel.BorderStyle;
import org.apache.poi.ss.usermodel.FillPatternType;
import org.apache.poi.ss.usermodel.HorizontalAlignment;
import org.apache.poi.ss.usermodel.IndexedColors;
import org.apache.poi.ss.usermodel.VerticalAlignment;
import org.apache.poi.ss.util.CellRangeAddress;
import visualizador.publicacao.ArquivoParcial;

/**
 * A .xls workbook through POI's HSSF: held in memory and written whole at the end. Cell styles are
 * made once per look: a .xls holds only about 4,000, so one per cell would break a large report.
 */
final class PlanilhaXls implements Planilha {
    private final Path arquivo;
    private HSSFWorkbook livro = new HSSFWorkbook();
    private final Map<EstiloXls, HSSFCellStyle> estilos = new HashMap<>();
    private final Map<EstiloXls.Fonte, HSSFFont> fontes = new HashMap<>();
    private HSSFSheet folha;

    PlanilhaXls(Path arquivo) {
        this.arquivo = arquivo;
    }

    @Override
    public int linhasPorFolha() {
        return 65_536;
    }

    @Override
    public void novaFolha(String nome, int[] larguras256, int congeladas) {
        folha = livro.createSheet(nome);
        for (int i = 0; i < larguras256.length; i++) folha.setColumnWidth(i, larguras256[i]);
        folha.createFreezePane(0, congeladas);
    }

    @Override
    public void linha(int indice, Object[] celulas, EstiloXls[] estilosDaLinha) {
        final HSSFRow linha = folha.createRow(indice);
        for (int i = 0; i < celulas.length; i++) {
            if (celulas[i] == null) continue;
            final HSSFCell c = linha.createCell(i);
            c.setCellStyle(estilo(estilosDaLinha[i]));
            if (celulas[i] instanceof FormulaXls f) {
                c.setCellFormula(f.expressao());
                c.setCellValue(f.valor().doubleValue()); // on a formula cell: its cached result
            } else if (celulas[i] instanceof Number n) c.setCellValue(n.doubleValue());
            else c.setCellValue(celulas[i].toString());
        }
    }

    @Override
    public void linhaLarga(int indice, String texto, EstiloXls estilo, int colunas, int linhasDeTexto) {
        linha(indice, new Object[] {texto}, new EstiloXls[] {estilo});
        folha.getRow(indice).setHeightInPoints(linhasDeTexto * TextoLargoXls.ALTURA_LINHA);
        if (colunas > 1) folha.addMergedRegion(new CellRangeAddress(indice, indice, 0, colunas - 1));
    }

    @Override
    public void filtro(int primeira, int ultima, int colunas) {
        folha.setAutoFilter(new CellRangeAddress(primeira, ultima, 0, colunas - 1));
    }

    /** Writes the workbook beside its final name, then moves it into place. */
    @Override
    public void concluir() throws IOException {
        try (ArquivoParcial parcial = new ArquivoParcial(arquivo)) {
            try (OutputStream out = Files.newOutputStream(parcial.temporario())) {
                livro.write(out);
            }
            parcial.concluir();
        }
    }

    @Override
    public void close() throws IOException {
        final HSSFWorkbook l = livro;
        livro = null;
        if (l != null) l.close();
    }

    private HSSFCellStyle estilo(EstiloXls e) {
        return estilos.computeIfAbsent(e, k -> {
            final HSSFCellStyle s = livro.createCellStyle();
            if (e.formato() != null) s.setDataFormat(livro.createDataFormat().getFormat(e.formato()));
            s.setAlignment(switch (e.alinhamento()) {
                case ESQUERDA -> HorizontalAlignment.LEFT;
                case DIREITA -> HorizontalAlignment.RIGHT;
                case CENTRO -> HorizontalAlignment.CENTER;
            });
            if (e.fonte() != EstiloXls.Fonte.NORMAL) s.setFont(fonte(e.fonte()));
            if (e.tituloColuna()) {
                s.setFillForegroundColor(IndexedColors.GREY_25_PERCENT.getIndex());
                s.setFillPattern(FillPatternType.SOLID_FOREGROUND);
                s.setBorderBottom(BorderStyle.THIN);
            }
            if (e.quebrar()) {
                s.setWrapText(true);
                s.setVerticalAlignment(VerticalAlignment.TOP);
            }
            return s;
        });
    }

    private HSSFFont fonte(EstiloXls.Fonte f) {
        return fontes.computeIfAbsent(f, k -> {
            final HSSFFont fonte = livro.createFont();
            fonte.setBold(true);
            if (f == EstiloXls.Fonte.GRANDE) fonte.setFontHeightInPoints((short) 13);
            return fonte;
        });
    }
}
