package visualizador.saida;

import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.apache.poi.hssf.usermodel.HSSFCellStyle;
import org.apache.poi.hssf.usermodel.HSSFFont;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.ss.usermodel.BorderStyle;
import org.apache.poi.ss.usermodel.FillPatternType;
import org.apache.poi.ss.usermodel.HorizontalAlignment;
import org.apache.poi.ss.usermodel.IndexedColors;
import visualizador.design.Coluna;

/**
 * The workbook's cell styles, made once per distinct look and shared by every cell: a .xls
 * holds only about 4,000 styles, so one per cell would break a large report.
 */
final class EstilosXls {
    private final HSSFWorkbook livro;
    private final HSSFFont negrito;
    private final Map<String, HSSFCellStyle> feitos = new HashMap<>();
    final HSSFCellStyle titulo;
    final HSSFCellStyle rotuloTotal;
    private final HSSFCellStyle[] dado;
    private final HSSFCellStyle[] total;

    EstilosXls(HSSFWorkbook livro, List<Coluna> colunas) {
        this.livro = livro;
        negrito = livro.createFont();
        negrito.setBold(true);
        titulo = livro.createCellStyle();
        titulo.setFont(negrito);
        titulo.setFillForegroundColor(IndexedColors.GREY_25_PERCENT.getIndex());
        titulo.setFillPattern(FillPatternType.SOLID_FOREGROUND);
        titulo.setBorderBottom(BorderStyle.THIN);
        titulo.setWrapText(true);
        rotuloTotal = estilo(null, HorizontalAlignment.LEFT, true);
        dado = new HSSFCellStyle[colunas.size()];
        total = new HSSFCellStyle[colunas.size()];
        for (int i = 0; i < dado.length; i++) {
            final Coluna c = colunas.get(i);
            dado[i] = estilo(formato(c), alinhamento(c), false);
            total[i] = estilo(formato(c), alinhamento(c), true);
        }
    }

    HSSFCellStyle dado(int coluna) {
        return dado[coluna];
    }

    HSSFCellStyle total(int coluna) {
        return total[coluna];
    }

    static String formato(Coluna c) {
        return switch (c.tipo()) {
            case NUMERO -> c.casas() > 0 ? "#,##0." + "0".repeat(c.casas()) : "#,##0";
            case INTEIRO -> "0";
            case DATA -> "dd/mm/yyyy";
            case TEXTO -> null;
        };
    }

    private static HorizontalAlignment alinhamento(Coluna c) {
        return switch (c.alinhamento()) {
            case ESQUERDA -> HorizontalAlignment.LEFT;
            case DIREITA -> HorizontalAlignment.RIGHT;
            case CENTRO -> HorizontalAlignment.CENTER;
        };
    }

    private HSSFCellStyle estilo(String formato, HorizontalAlignment alinhamento, boolean emNegrito) {
        return feitos.computeIfAbsent(formato + "|" + alinhamento + "|" + emNegrito, k -> {
            final HSSFCellStyle s = livro.createCellStyle();
            if (formato != null) s.setDataFormat(livro.createDataFormat().getFormat(formato));
            s.setAlignment(alinhamento);
            if (emNegrito) s.setFont(negrito);
            return s;
        });
    }
}
