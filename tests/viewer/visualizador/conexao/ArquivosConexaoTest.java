package visualizador.conexao;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;

class ArquivosConexaoTest {
    @TempDir
    Path home;

    private Ambiente ambiente(String servicos, String senhas, String... variaveis) throws Exception {
        final Map<String, String> env = new HashMap<>();
        if (servicos != null) Files.writeString(home.resolve(".pg_service.conf"), servicos);
        if (senhas != null) Files.writeString(home.resolve(".pgpass"), senhas);
        for (int i = 0; i < variaveis.length; i += 2) env.put(variaveis[i], variaveis[i + 1]);
        return new Ambiente(env, home);
    }

    @Test
    void servicoDoUsuarioAntesDoSistema() throws Exception {
        final Path sistema = Files.createDirectory(home.resolve("etc"));
        Files.writeString(sistema.resolve("pg_service.conf"), "[Zarvent]\nhost=sistema\n[Outro]\nhost=outro\n");
        final Ambiente amb = ambiente("# comment\n[Primeiro]\nhost=x\n\n[Zarvent]\n host = usuario \nport=6543\n", null,
                "PGSYSCONFDIR", sistema.toString());
        assertEquals(Map.of("host", "usuario", "port", "6543"), ArquivoServico.ler("Zarvent", amb));
        assertEquals("outro", ArquivoServico.ler("Outro", amb).get("host"));
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> ArquivoServico.ler("Nenhum", amb));
        assertTrue(e.getMessage().contains("\"Nenhum\"") && e.getMessage().contains(home.resolve(".pg_service.conf").toString())
                && e.getMessage().contains(sistema.resolve("pg_service.conf").toString()), e.getMessage());
    }

    @Test
    void servicoInvalidoENomeado() throws Exception {
        final Ambiente amb = ambiente("[Zarvent\nhost=x\n", null);
        assertThrows(ErroRelatorio.class, () -> ArquivoServico.ler("Zarvent", amb));
    }

    // A file group or others may read is ignored with libpq's warning, as psql does.
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "h:5432:db:u:segredo              | rw------- | segredo",
        "*:*:*:u:coringa                  | r-------- | coringa",
        "h:5433:db:u:outra                | rw------- | ",
        "h:5432:db:u:com\\:dois\\\\pontos | rw------- | com:dois\\pontos",
        "h:5432:db:u:segredo              | rw-r----- | ",
        "h:5432:db:u:segredo              | rw----r-- | ",
    })
    void senhaDoPgpass(String linha, String modo, String esperada) throws Exception {
        final Ambiente amb = ambiente(null, "# comentário\n" + linha.strip() + "\n");
        Files.setPosixFilePermissions(home.resolve(".pgpass"), PosixFilePermissions.fromString(modo));
        final List<String> avisos = new ArrayList<>();
        final String senha = ArquivoSenhas.senha(amb, null, "h", "5432", "db", "u", avisos::add);
        if (esperada == null) assertNull(senha);
        else assertEquals(esperada, senha);
        assertEquals(modo.endsWith("------") ? List.of() : List.of("WARNING: password file \"" + home.resolve(".pgpass")
                + "\" has group or world access; permissions should be u=rw (0600) or less"), avisos);
    }
}
