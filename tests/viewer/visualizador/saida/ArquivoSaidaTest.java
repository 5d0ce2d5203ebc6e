package visualizador.saida;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.time.LocalDateTime;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Ambiente;

class ArquivoSaidaTest {
    private static final LocalDateTime QUANDO = LocalDateTime.of(2026, 12, 9, 15, 30, 0);

    @TempDir
    Path home;

    private Ambiente ambiente(String configHome) {
        final Map<String, String> env = new HashMap<>();
        if (configHome != null) env.put("XDG_CONFIG_HOME", home.resolve(configHome).toString());
        return new Ambiente(env, home);
    }

    /** user-dirs.dirs in the config folder; the folder expected, relative to home ("" is home). */
    @ParameterizedTest(name = "[{0}] {1} -> \"{2}\"")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "     | XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"              | Documentos",
        "cfg  | # comment\\nXDG_DESKTOP_DIR=\"$HOME\"\\n  XDG_DOCUMENTS_DIR=\"$HOME/Meus docs\" | Meus docs",
        "     | XDG_DOCUMENTS_DIR=\"$HOME/NaoExiste\"              | ``",
        "     | XDG_DOCUMENTS_DIR=\"$HOME\"                        | ``",
        "     | XDG_DOCUMENTS_DIR=Documentos                      | ``",
        "     | XDG_MUSIC_DIR=\"$HOME/Documentos\"                  | ``",
        "     | XDG_DOCUMENTS_DIR=\"ABS/Documentos\"                | Documentos",
        "cfg  |                                                   | ``",
    })
    void pastaDeDocumentos(String configHome, String conteudo, String esperada) throws Exception {
        Files.createDirectories(home.resolve("Documentos"));
        Files.createDirectories(home.resolve("Meus docs"));
        final Path config = home.resolve(configHome == null ? ".config" : configHome);
        Files.createDirectories(config);
        if (conteudo != null)
            Files.writeString(config.resolve("user-dirs.dirs"), conteudo.replace("\\n", "\n").replace("ABS", home.toString()));
        assertEquals(home.resolve(esperada), ArquivoSaida.pastaDocumentos(ambiente(configHome)));
    }

    @Test
    void nomeComDataENuncaSobrescreve() throws Exception {
        final Ambiente amb = ambiente(null);
        final String nome = "zv_relacao_produto_enderecamento";
        final Path primeiro = ArquivoSaida.novo(amb, nome, Formato.PDF, QUANDO);
        Files.writeString(primeiro, "relatório anterior");
        final Path segundo = ArquivoSaida.novo(amb, nome, Formato.PDF, QUANDO);
        final Path terceiro = ArquivoSaida.novo(amb, nome, Formato.PDF, QUANDO);
        assertEquals(List.of(home.resolve(nome + "-20261209-153000.pdf"), home.resolve(nome + "-20261209-153000-2.pdf"),
                home.resolve(nome + "-20261209-153000-3.pdf")), List.of(primeiro, segundo, terceiro));
        assertEquals("relatório anterior", Files.readString(primeiro));
        assertEquals(home.resolve(nome + "-20261209-153000.xls"), ArquivoSaida.novo(amb, nome, Formato.XLS, QUANDO));
    }

    @Test
    void pastaSemPermissaoEErroQueANomeia() throws Exception {
        Path pasta = Files.createDirectories(home.resolve("Documentos"));
        Files.setPosixFilePermissions(pasta, PosixFilePermissions.fromString("r-xr-xr-x"));
        if (Files.isWritable(pasta)) pasta = Path.of("/sys"); // root writes anywhere but in sysfs
        Files.createDirectories(home.resolve(".config"));
        Files.writeString(home.resolve(".config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"" + pasta + "\"\n");
        final ErroRelatorio e = assertThrows(ErroRelatorio.class,
                () -> ArquivoSaida.novo(ambiente(null), "r", Formato.HTML, QUANDO));
        assertTrue(e.getMessage().contains("pasta " + pasta), e.getMessage());
    }

    private String abrir(Path arquivo, List<String> comando) {
        final ByteArrayOutputStream erros = new ByteArrayOutputStream();
        ArquivoSaida.abrir(arquivo, comando, new PrintStream(erros, true, StandardCharsets.UTF_8));
        return erros.toString(StandardCharsets.UTF_8);
    }

    @Test
    void abreSemShellEAvisaQuandoNaoConsegue() throws Exception {
        final Path arquivo = Files.writeString(home.resolve("r $(touch x);'.pdf"), "x");
        final Path registro = home.resolve("argumento");
        final Path script = Files.writeString(home.resolve("abrir.sh"),
                "#!/bin/sh\nprintf '%s' \"$1\" > '" + registro + "'\nexit \"$ABRIR_STATUS\"\n");
        Files.setPosixFilePermissions(script, PosixFilePermissions.fromString("rwx------"));

        assertEquals("", abrir(arquivo, List.of("env", "ABRIR_STATUS=0", script.toString())));
        assertEquals(arquivo.toString(), Files.readString(registro));

        for (List<String> falha : List.of(List.of("env", "ABRIR_STATUS=3", script.toString()),
                List.of(home.resolve("nao-existe").toString()))) {
            final String erro = abrir(arquivo, falha);
            assertEquals(1, erro.lines().count(), erro);
            assertTrue(erro.contains("o arquivo está em " + arquivo), erro);
            assertTrue(Files.exists(arquivo));
        }
    }
}
