package visualizador.saida;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.InputStream;
import java.math.BigDecimal;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.sql.Statement;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.time.ZoneId;
import java.util.List;
import java.util.Map;
import org.apache.poi.hssf.usermodel.HSSFName;
import org.apache.poi.hssf.usermodel.HSSFSheet;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.ss.SpreadsheetVersion;
import org.apache.poi.ss.usermodel.CellType;
import org.apache.poi.ss.usermodel.DateUtil;
import org.apache.poi.ss.usermodel.Row;
import org.apache.poi.ss.util.AreaReference;
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
        return new Cabecalho("Relação <teste>", Formatos.SEM_FILTROS, "Endereço", "Cadastro",
                LocalDateTime.of(2026, 12, 9, 15, 30), BancoTeste.design().colunas());
    }

    /** A line like the design's: 11 typed values. */
    static Object[] linha(int i, String descricao) {
        return new Object[] {"1 - CORREDOR 01", "2 - BOA VISTA LTDA", (long) i, descricao, "REF-" + i, "PCT", null,
            new BigDecimal("1.250"), new BigDecimal("10.05"), BigDecimal.valueOf(i, 2), LocalDate.of(2013, 3, 23)};
    }

    /** Writes n synthetic lines in one group and returns the totals. */
    static Totais gerar(Destino d, int n) throws Exception {
        final Cabecalho c = cabecalho();
        final Totais t = new Totais(c.colunas());
        d.inicio(c);
        d.inicioGrupo("Endereço: 1 - CORREDOR 01");
        for (int i = 1; i <= n; i++) {
            final Object[] v = linha(i, "PRODUTO " + i);
            t.somar(v);
            d.linha(v);
        }
        d.fimGrupo("Endereço: 1 - CORREDOR 01", t);
        d.fim(t);
        return t;
    }

    private static HSSFWorkbook ler(Path p) throws Exception {
        try (InputStream in = Files.newInputStream(p)) {
            return new HSSFWorkbook(in);
        }
    }

    private static void cabecalhoFixoEFiltrado(HSSFWorkbook wb, int folha, int ultimaLinha) {
        final HSSFSheet s = wb.getSheetAt(folha);
        assertEquals("Endereço", s.getRow(0).getCell(0).getStringCellValue());
        assertEquals("Cadastro", s.getRow(0).getCell(10).getStringCellValue());
        assertTrue(s.getPaneInformation().isFreezePane());
        assertEquals(1, s.getPaneInformation().getHorizontalSplitPosition());
        final HSSFName filtro = wb.getAllNames().stream()
                .filter(n -> n.getNameName().equals("_FilterDatabase") && n.getSheetIndex() == folha).findFirst().orElseThrow();
        final AreaReference area = new AreaReference(filtro.getRefersToFormula(), SpreadsheetVersion.EXCEL97);
        final boolean colunasInteiras = area.getFirstCell().getRow() < 0; // "A:K": rows 1 to 65,536
        assertEquals(List.of(0, 0, ultimaLinha, 10), List.of(colunasInteiras ? 0 : area.getFirstCell().getRow(),
                (int) area.getFirstCell().getCol(), colunasInteiras ? DestinoXls.LINHAS_POR_FOLHA - 1
                        : area.getLastCell().getRow(), (int) area.getLastCell().getCol()), filtro.getRefersToFormula());
    }

    @Test
    void tabelaTipadaComTotalGeral() throws Exception {
        final Path arquivo = pasta.resolve("r.xls");
        try (DestinoXls d = new DestinoXls(arquivo)) {
            gerar(d, 3);
        }
        try (HSSFWorkbook wb = ler(arquivo)) {
            assertEquals(List.of("Relatório"), List.of(wb.getSheetName(0)));
            cabecalhoFixoEFiltrado(wb, 0, 3);
            final Row r = wb.getSheetAt(0).getRow(2);
            assertEquals(CellType.NUMERIC, r.getCell(2).getCellType());
            assertEquals(2.0, r.getCell(2).getNumericCellValue());
            assertEquals(1.25, r.getCell(7).getNumericCellValue());
            assertEquals("#,##0.000", r.getCell(7).getCellStyle().getDataFormatString());
            assertEquals("#,##0.00", r.getCell(8).getCellStyle().getDataFormatString());
            assertTrue(DateUtil.isCellDateFormatted(r.getCell(10)));
            assertEquals(LocalDate.of(2013, 3, 23), r.getCell(10).getDateCellValue().toInstant()
                    .atZone(ZoneId.systemDefault()).toLocalDate());
            final Row total = wb.getSheetAt(0).getRow(5);
            assertEquals("Total geral: 3 linhas", total.getCell(0).getStringCellValue());
            assertEquals(3.75, total.getCell(7).getNumericCellValue(), 1e-9);
            assertEquals(0.06, total.getCell(9).getNumericCellValue(), 1e-9);
            assertTrue(wb.getFontAt(total.getCell(7).getCellStyle().getFontIndexAsInt()).getBold());
            assertTrue(wb.getNumCellStyles() < 40, "styles are shared, not made per cell");
        }
    }

    @Test
    void passadoOLimiteDaFolhaContinuaNaSeguinte() throws Exception {
        final Path arquivo = pasta.resolve("grande.xls");
        final int n = DestinoXls.LINHAS_POR_FOLHA + 10;
        try (DestinoXls d = new DestinoXls(arquivo)) {
            gerar(d, n);
        }
        try (HSSFWorkbook wb = ler(arquivo)) {
            assertEquals(2, wb.getNumberOfSheets());
            assertEquals("Relatório (2)", wb.getSheetName(1));
            cabecalhoFixoEFiltrado(wb, 0, DestinoXls.LINHAS_POR_FOLHA - 1);
            cabecalhoFixoEFiltrado(wb, 1, 11);
            assertEquals((double) DestinoXls.LINHAS_POR_FOLHA, wb.getSheetAt(1).getRow(1).getCell(2).getNumericCellValue());
            assertEquals("Total geral: " + Formatos.linhas(n), wb.getSheetAt(1).getRow(13).getCell(0).getStringCellValue());
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
    void bancoReal() throws Exception {
        final Path arquivo = pasta.resolve("marca3.xls");
        long linhas;
        double quantidade;
        try (Conexao conexao = BancoTeste.conectar(pasta)) {
            final var design = BancoTeste.design();
            final var valores = ValoresParametros.analisar(design, List.of(Map.entry("P_MARCA", "3")));
            try (DestinoXls d = new DestinoXls(arquivo)) {
                new MotorRelatorio(conexao, design, valores).executar(d, Progresso.NENHUM);
            }
            try (Statement st = conexao.jdbc().createStatement(); ResultSet rs = st.executeQuery(
                    "SELECT count(*), sum(estqtd) FROM est JOIN pro ON procod = estprocod"
                            + " WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
                rs.next();
                linhas = rs.getLong(1);
                quantidade = rs.getDouble(2);
            }
        }
        assertTrue(linhas > 0);
        try (HSSFWorkbook wb = ler(arquivo)) {
            final HSSFSheet s = wb.getSheetAt(0);
            double soma = 0;
            for (int i = 1; i <= linhas; i++) soma += s.getRow(i).getCell(7).getNumericCellValue();
            assertEquals(quantidade, soma, 1e-6);
            assertFalse(s.getRow((int) linhas + 1) != null, "a blank row before the total");
            assertEquals("Total geral: " + Formatos.linhas(linhas), s.getRow((int) linhas + 2).getCell(0).getStringCellValue());
            assertEquals(quantidade, s.getRow((int) linhas + 2).getCell(7).getNumericCellValue(), 1e-6);
        }
    }
}
