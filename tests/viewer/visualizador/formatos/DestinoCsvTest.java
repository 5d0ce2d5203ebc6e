package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;

class DestinoCsvTest {
    @TempDir
    Path pasta;

    /**
     * The real report, full and summarised, against plain SQL: a byte order mark, one line of
     * titles, then one line per report line (or group), ";" between fields, figures with a decimal comma.
     */
    @ParameterizedTest
    @ValueSource(booleans = {false, true})
    void bancoRealConfereComSql(boolean resumo) throws Exception {
        final Path arquivo = pasta.resolve("marca3.csv");
        final long linhas, grupos;
        final BigDecimal quantidade;
        try (Conexao conexao = BancoTeste.conectar(pasta); ResultSet rs = conexao.jdbc().createStatement().executeQuery(
                "SELECT count(*), sum(estqtd), count(DISTINCT estempparcod) FROM est JOIN pro ON procod = estprocod"
                        + " WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
            rs.next();
            linhas = rs.getLong(1);
            quantidade = rs.getBigDecimal(2);
            grupos = rs.getLong(3);
            final var valores = ValoresParametros.analisar(BancoTeste.design(),
                    List.of(Map.entry("P_MARCA", "3"), Map.entry("P_GRUPO", "3")));
            try (DestinoCsv d = new DestinoCsv(arquivo)) {
                new MotorRelatorio(conexao, BancoTeste.design(), valores, new OpcoesRelatorio(resumo, false))
                        .executar(d, Progresso.NENHUM);
            }
        }
        final byte[] bytes = Files.readAllBytes(arquivo);
        assertArrayEquals(new byte[] {(byte) 0xEF, (byte) 0xBB, (byte) 0xBF}, Arrays.copyOf(bytes, 3));
        final String texto = new String(bytes, 3, bytes.length - 3, StandardCharsets.UTF_8);
        assertTrue(texto.endsWith("\r\n") && !texto.replace("\r\n", "").contains("\n"), "CRLF line ends");
        final List<String> l = texto.lines().toList();
        assertEquals(resumo ? "Empresa;Linhas;Quantidade;Valor bruto;Valor líquido"
                : "Depósito;Empresa;Produto;Descrição;Referência;Un.;Marca;Quantidade;Valor bruto;Valor líquido;Data", l.get(0));
        assertEquals((resumo ? grupos : linhas) + 1, l.size());
        final int coluna = resumo ? 2 : 7;
        BigDecimal soma = BigDecimal.ZERO;
        long contadas = 0;
        for (String linha : l.subList(1, l.size())) {
            final String[] campos = linha.split(";", -1);
            assertEquals(resumo ? 5 : 11, campos.length, linha);
            assertTrue(campos[coluna].matches("-?\\d+,\\d{3}"), campos[coluna]);
            soma = soma.add(new BigDecimal(campos[coluna].replace(',', '.')));
            if (resumo) contadas += Long.parseLong(campos[1]);
            else assertTrue(campos[10].isEmpty() || campos[10].matches("\\d\\d/\\d\\d/\\d{4}"), campos[10]);
        }
        assertEquals(0, quantidade.compareTo(soma));
        if (resumo) assertEquals(linhas, contadas);
    }

    // Fields a program splits right, and texts no spreadsheet takes for a formula.
    @ParameterizedTest
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "ARROZ 5KG           | ARROZ 5KG",
        "A;B                 | `\"A;B\"`",
        "`DIZ \"OI\"`        | `\"DIZ \"\"OI\"\"\"`",
        "=HYPERLINK(1)       | '=HYPERLINK(1)",
        "+55 11              | '+55 11",
        "@SOMA               | '@SOMA",
        "-X                  | '-X",
        "-12                 | -12",
        "=A;B                | `\"'=A;B\"`",
    })
    void textos(String texto, String esperado) {
        assertEquals(esperado, DestinoCsv.texto(texto));
    }

    // A code and description in a column declared a number is still text: quoted and guarded.
    @org.junit.jupiter.api.Test
    void textoEmColunaNumerica() throws Exception {
        final var coluna = new visualizador.design.Coluna("Fornecedor", "f", "fd", "", visualizador.design.TipoColuna.INTEIRO,
                50f, visualizador.design.Alinhamento.DIREITA, 0, false);
        final Path arquivo = pasta.resolve("r.csv");
        try (DestinoCsv d = new DestinoCsv(arquivo)) {
            d.inicio(new visualizador.pagina.Cabecalho("R", List.of(), "Fornecedor", "Data",
                    java.time.LocalDateTime.of(2026, 12, 9, 15, 30), List.of(coluna)));
            d.linha(new Object[] {"7 - A;B"});
            d.linha(new Object[] {"=8 - C"});
            d.linha(new Object[] {12L});
            d.fim(new visualizador.pagina.Totais(List.of(coluna)));
        }
        assertEquals("\uFEFFFornecedor\r\n\"7 - A;B\"\r\n'=8 - C\r\n12\r\n", Files.readString(arquivo));
    }
}
