package visualizador.saida;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.InputStream;
import java.math.BigDecimal;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.time.ZoneId;
import java.util.List;
import java.util.Map;
import org.apache.poi.hssf.usermodel.HSSFSheet;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.ss.usermodel.CellType;
import org.apache.poi.ss.usermodel.Row;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;

class DestinoXlsTest {
    @TempDir
    Path pasta;

    static Cabecalho cabecalho() throws Exception {
        return new Cabecalho("Relação <teste>", List.of(Formatos.SEM_FILTROS), "Endereço", "Cadastro",
                LocalDateTime.of(2026, 12, 9, 15, 30), BancoTeste.design().colunas());
    }

    /** A line like the design's: 11 typed values. */
    static Object[] linha(int i, String descricao) {
        return new Object[] {"1 - CORREDOR 01", "2 - BOA VISTA LTDA", (long) i, descricao, "REF-" + i, "PCT", null,
            new BigDecimal("1.250"), new BigDecimal("10.05"), BigDecimal.valueOf(i, 2), LocalDate.of(2013, 3, 23)};
    }

    private static HSSFWorkbook ler(Path p) throws Exception {
        try (InputStream in = Files.newInputStream(p)) {
            return new HSSFWorkbook(in);
        }
    }

    private static void cabecalhoFixoEFiltrado(HSSFWorkbook wb, int folha, String filtro) {
        final HSSFSheet s = wb.getSheetAt(folha);
        assertEquals(List.of("Endereço", "Cadastro"), List.of(s.getRow(0).getCell(0).getStringCellValue(),
                s.getRow(0).getCell(10).getStringCellValue()));
        assertEquals(1, s.getPaneInformation().getHorizontalSplitPosition());
        assertTrue(s.getPaneInformation().isFreezePane());
        assertTrue(wb.getAllNames().stream().anyMatch(n -> n.getNameName().equals("_FilterDatabase")
                && n.getSheetIndex() == folha && n.getRefersToFormula().equals(filtro)));
    }

    @Test
    void tabelaTipadaQueContinuaNaFolhaSeguinte() throws Exception {
        final Path arquivo = pasta.resolve("grande.xls");
        final int n = DestinoXls.LINHAS_POR_FOLHA + 10;
        try (DestinoXls d = new DestinoXls(arquivo)) {
            final Totais t = new Totais(cabecalho().colunas());
            d.inicio(cabecalho());
            d.inicioGrupo("Endereço: 1 - CORREDOR 01");
            for (int i = 1; i <= n; i++) {
                t.somar(linha(i, "PRODUTO " + i));
                d.linha(linha(i, "PRODUTO " + i));
            }
            d.fimGrupo("Endereço: 1 - CORREDOR 01", t);
            d.fim(t);
        }
        try (HSSFWorkbook wb = ler(arquivo)) {
            assertEquals(List.of("Relatório", "Relatório (2)"), List.of(wb.getSheetName(0), wb.getSheetName(1)));
            cabecalhoFixoEFiltrado(wb, 0, "Relatório!A:K"); // all 65,536 rows
            cabecalhoFixoEFiltrado(wb, 1, "'Relatório (2)'!$A$1:$K$12");
            final Row r = wb.getSheetAt(0).getRow(2);
            assertEquals(CellType.NUMERIC, r.getCell(2).getCellType());
            assertEquals(List.of(2.0, 1.25, 0.02), List.of(r.getCell(2).getNumericCellValue(),
                    r.getCell(7).getNumericCellValue(), r.getCell(9).getNumericCellValue()));
            assertEquals(List.of("0", "#,##0.000", "#,##0.00", "dd/mm/yyyy"), List.of(2, 7, 8, 10).stream()
                    .map(i -> r.getCell(i).getCellStyle().getDataFormatString()).toList());
            assertEquals(LocalDate.of(2013, 3, 23),
                    r.getCell(10).getDateCellValue().toInstant().atZone(ZoneId.systemDefault()).toLocalDate());
            assertEquals((double) DestinoXls.LINHAS_POR_FOLHA, wb.getSheetAt(1).getRow(1).getCell(2).getNumericCellValue());
            final Row total = wb.getSheetAt(1).getRow(13);
            assertEquals("Total geral: " + Formatos.linhas(n), total.getCell(0).getStringCellValue());
            assertEquals(1.25 * n, total.getCell(7).getNumericCellValue(), 1e-6);
            assertEquals(n * (n + 1.0) / 200, total.getCell(9).getNumericCellValue(), 1e-6);
            assertTrue(wb.getFontAt(total.getCell(7).getCellStyle().getFontIndexAsInt()).getBold());
            assertTrue(wb.getNumCellStyles() < 40, "styles are shared, not made per cell");
        }
    }

    @Test
    void semFimNaoDeixaArquivo() throws Exception {
        try (DestinoXls d = new DestinoXls(pasta.resolve("r.xls"))) {
            d.inicio(cabecalho());
            d.linha(linha(1, "X"));
        }
        try (var arquivos = Files.list(pasta)) {
            assertEquals(0, arquivos.count());
        }
    }

    @Test
    void bancoRealConfereComSql() throws Exception {
        final Path arquivo = pasta.resolve("marca3.xls");
        final long linhas;
        final double quantidade;
        try (Conexao conexao = BancoTeste.conectar(pasta); ResultSet rs = conexao.jdbc().createStatement().executeQuery(
                "SELECT count(*), sum(estqtd) FROM est JOIN pro ON procod = estprocod"
                        + " WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
            rs.next();
            linhas = rs.getLong(1);
            quantidade = rs.getDouble(2);
            final var valores = ValoresParametros.analisar(BancoTeste.design(), List.of(Map.entry("P_MARCA", "3")));
            try (DestinoXls d = new DestinoXls(arquivo)) {
                new MotorRelatorio(conexao, BancoTeste.design(), valores).executar(d, Progresso.NENHUM);
            }
        }
        try (HSSFWorkbook wb = ler(arquivo)) {
            final HSSFSheet s = wb.getSheetAt(0);
            double soma = 0;
            for (int i = 1; i <= linhas; i++) soma += s.getRow(i).getCell(7).getNumericCellValue();
            assertEquals(quantidade, soma, 1e-6);
            assertNull(s.getRow((int) linhas + 1), "a blank row keeps the total out of the filter");
            final Row total = s.getRow((int) linhas + 2);
            assertEquals("Total geral: " + Formatos.linhas(linhas), total.getCell(0).getStringCellValue());
            assertEquals(quantidade, total.getCell(7).getNumericCellValue(), 1e-6);
        }
    }
}
