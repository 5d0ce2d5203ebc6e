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

    /** user-dirs.dirs in .config or in XDG_CONFIG_HOME=cfg; the folder expected, relative to home. */
    @ParameterizedTest(name = "[{0}] {1} -> \"{2}\"")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "        | XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"      | Documentos",
        "cfg     | # x\\n  XDG_DOCUMENTS_DIR=\"$HOME/Meus docs\" | Meus docs",
        ".config | XDG_DOCUMENTS_DIR=\"ABS/Documentos\"        | Documentos",
        "        | XDG_DOCUMENTS_DIR=\"$HOME/NaoExiste\"      | ``",
        "        | XDG_DOCUMENTS_DIR=Documentos              | ``",
        "cfg     |                                           | ``",
    })
    void pastaDeDocumentos(String cfg, String dirs, String esperada) throws Exception {
        Files.createDirectories(home.resolve("Documentos"));
        Files.createDirectories(home.resolve("Meus docs"));
        final Path config = Files.createDirectories(home.resolve(cfg == null ? ".config" : cfg));
        if (dirs != null) Files.writeString(config.resolve("user-dirs.dirs"), dirs.replace("\\n", "\n").replace("ABS", home.toString()));
        final Ambiente amb = new Ambiente(cfg == null ? Map.of() : Map.of("XDG_CONFIG_HOME", config.toString()), home);
        assertEquals(home.resolve(esperada), ArquivoSaida.pastaDocumentos(amb));
    }

    @Test
    void nomeComDataQueNuncaSobrescreve() throws Exception {
        final Ambiente amb = new Ambiente(Map.of(), home);
        final String nome = "zv_relacao_produto_enderecamento";
        final Path primeiro = ArquivoSaida.novo(amb, nome, Formato.PDF, QUANDO);
        Files.writeString(primeiro, "anterior");
        assertEquals(List.of(home.resolve(nome + "-20261209-153000.pdf"), home.resolve(nome + "-20261209-153000-2.pdf"),
                home.resolve(nome + "-20261209-153000-3.pdf")), List.of(primeiro,
                ArquivoSaida.novo(amb, nome, Formato.PDF, QUANDO), ArquivoSaida.novo(amb, nome, Formato.PDF, QUANDO)));
        assertEquals("anterior", Files.readString(primeiro));
    }

    @Test
    void pastaSemPermissaoEErroQueANomeia() throws Exception {
        Path pasta = Files.createDirectories(home.resolve("Documentos"));
        Files.setPosixFilePermissions(pasta, PosixFilePermissions.fromString("r-xr-xr-x"));
        if (Files.isWritable(pasta)) pasta = Path.of("/sys"); // root writes anywhere but in sysfs
        Files.writeString(Files.createDirectories(home.resolve(".config")).resolve("user-dirs.dirs"),
                "XDG_DOCUMENTS_DIR=\"" + pasta + "\"\n");
        final ErroRelatorio e = assertThrows(ErroRelatorio.class,
                () -> ArquivoSaida.novo(new Ambiente(Map.of(), home), "r", Formato.HTML, QUANDO));
        assertTrue(e.getMessage().contains("pasta " + pasta), e.getMessage());
    }

    @Test
    void abreSemShellEAvisaQuandoNaoConsegue() throws Exception {
        final Path arquivo = Files.writeString(home.resolve("r $(touch x);'.pdf"), "x");
        final Path registro = home.resolve("argumento");
        final Path script = Files.writeString(home.resolve("abrir.sh"),
                "#!/bin/sh\nprintf '%s' \"$1\" > '" + registro + "'\nexit \"$ABRIR_STATUS\"\n");
        Files.setPosixFilePermissions(script, PosixFilePermissions.fromString("rwx------"));
        for (String status : List.of("0", "3", "nao-existe")) {
            final ByteArrayOutputStream erros = new ByteArrayOutputStream();
            final List<String> comando = status.equals("nao-existe") ? List.of(home.resolve(status).toString())
                    : List.of("env", "ABRIR_STATUS=" + status, script.toString());
            ArquivoSaida.abrir(arquivo, comando, new PrintStream(erros, true, StandardCharsets.UTF_8));
            final String erro = erros.toString(StandardCharsets.UTF_8);
            assertEquals(status.equals("0") ? 0 : 1, erro.lines().count(), erro);
            assertTrue(status.equals("0") || erro.contains("o arquivo está em " + arquivo), erro);
        }
        assertEquals(arquivo.toString(), Files.readString(registro));
        assertTrue(Files.exists(arquivo));
    }
}
