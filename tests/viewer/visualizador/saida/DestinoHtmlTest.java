package visualizador.saida;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;

class DestinoHtmlTest {
    @TempDir
    Path pasta;

    @Test
    void bancoRealAgrupadoComTotais() throws Exception {
        final Path arquivo = pasta.resolve("marca3.html");
        final long linhas;
        final List<Object> grupos;
        try (Conexao conexao = BancoTeste.conectar(pasta); ResultSet rs = conexao.jdbc().createStatement().executeQuery(
                "SELECT count(*), array_agg(DISTINCT coalesce(estdepproendcod || ' - ' || depproenddes, 'SEM ENDEREÇO'))"
                        + " FROM est JOIN pro ON procod = estprocod LEFT JOIN dep_pro_enderecamento ON depproendcod"
                        + " = estdepproendcod WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
            rs.next();
            linhas = rs.getLong(1);
            grupos = List.of((Object[]) rs.getArray(2).getArray());
            final var valores = ValoresParametros.analisar(BancoTeste.design(), List.of(Map.entry("P_MARCA", "3")));
            try (DestinoHtml d = new DestinoHtml(arquivo)) {
                new MotorRelatorio(conexao, BancoTeste.design(), valores).executar(d, Progresso.NENHUM);
            }
        }
        final String html = Files.readString(arquivo, StandardCharsets.UTF_8);
        assertTrue(html.contains("<h1>Relação de Produtos por Endereço</h1>"));
        for (Object g : grupos) assertTrue(html.contains("<td colspan=\"11\">Endereço: " + g + "</td>"), g.toString());
        assertEquals(grupos.size(), html.split("class=\"grupo\"", -1).length - 1);
        assertEquals(grupos.size(), html.split("class=\"subtotal\"", -1).length - 1);
        assertTrue(html.contains("Total geral: " + Formatos.linhas(linhas) + "</td>"));
        assertFalse(html.contains("src=") || html.contains("href="), "self-contained");
    }

    @Test
    void textoHostilEscapadoEVazioAvisado() throws Exception {
        final Path arquivo = pasta.resolve("r.html");
        try (DestinoHtml d = new DestinoHtml(arquivo)) {
            d.inicio(DestinoXlsTest.cabecalho());
            d.inicioGrupo("Endereço: <b>\"x\"</b>");
            d.linha(DestinoXlsTest.linha(1, "<script>alert('&')</script>"));
            d.fim(new Totais(DestinoXlsTest.cabecalho().colunas()));
        }
        final String html = Files.readString(arquivo, StandardCharsets.UTF_8);
        assertFalse(html.contains("<script>") || html.contains("<b>") || html.contains("<teste>"));
        assertTrue(html.contains("&lt;script&gt;alert(&#39;&amp;&#39;)&lt;/script&gt;"));
        assertTrue(html.contains("Endereço: &lt;b&gt;&quot;x&quot;&lt;/b&gt;"));
        assertTrue(html.contains(Formatos.NENHUM_REGISTRO));
    }

    @Test
    void falhaNaoDeixaArquivoNemEstragaOAnterior() throws Exception {
        final Path arquivo = pasta.resolve("r.html");
        Files.writeString(arquivo, "anterior");
        assertThrows(IOException.class, () -> {
            try (DestinoHtml d = new DestinoHtml(arquivo)) {
                d.inicio(DestinoXlsTest.cabecalho());
                d.linha(DestinoXlsTest.linha(1, "a"));
                throw new IOException("falha no meio");
            }
        });
        assertEquals("anterior", Files.readString(arquivo));
        try (var arquivos = Files.list(pasta)) {
            assertEquals(List.of(arquivo), arquivos.toList());
        }
    }
}
