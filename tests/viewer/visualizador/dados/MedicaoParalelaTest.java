package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.ServerSocket;
import java.net.Socket;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.Map;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;
import visualizador.design.Design;
import visualizador.pagina.MedidaColuna;

/**
 * The columns come measured alike whether a second session measured them beside the report's
 * query or, refused one, the report's own session did first; filters reach both.
 */
class MedicaoParalelaTest {
    @TempDir
    Path home;

    /** Records the engine's output, as a destination that lays out by measured columns. */
    static final class GravadorMedido extends MotorRelatorioTest.Gravador {
        @Override
        public boolean medeColunas() {
            return true;
        }
    }

    @ParameterizedTest(name = "{0} session(s) admitted, {1}")
    @CsvSource(delimiter = '|', value = {
        "2 | ''",
        "1 | ''",
        "2 | P_MARCA=3",
        "1 | P_MARCA=3",
    })
    void medidasIguaisComOuSemSegundaSessao(int admitidas, String filtro) throws Exception {
        final Design design = BancoTeste.design();
        final ValoresParametros valores = ValoresParametros.analisar(design, filtro.isEmpty() ? List.of()
                : List.of(Map.entry(filtro.split("=")[0], filtro.split("=")[1])));
        final List<MedidaColuna> esperadas;
        final long linhas;
        try (Conexao direta = BancoTeste.conectar(home)) {
            final MotorRelatorio m = new MotorRelatorio(direta, design, valores);
            esperadas = m.medirColunas(direta);
            linhas = m.contarLinhas();
        }
        try (Porteiro porteiro = new Porteiro(admitidas);
             Conexao c = Conexao.abrir(BancoTeste.SERVICO, porteiro.ambiente(home))) {
            final GravadorMedido g = new GravadorMedido();
            new MotorRelatorio(c, design, valores).executar(g, Progresso.NENHUM);
            assertEquals(esperadas, g.cabecalho.medidas());
            assertEquals(linhas, g.linhas.size());
            assertEquals(linhas, g.geral.linhas());
            assertEquals(2, porteiro.pedidas.get(), "the second session was asked for");
        }
    }

    /**
     * A port in front of the test database that lets only so many sessions through and closes
     * the others at once, as a server or pooler at its limit does.
     */
    private static final class Porteiro implements AutoCloseable {
        final AtomicInteger pedidas = new AtomicInteger();
        private final ServerSocket escuta = new ServerSocket(0);
        private final int admitidas;

        Porteiro(int admitidas) throws IOException {
            this.admitidas = admitidas;
            final Thread t = new Thread(this::atender, "porteiro");
            t.setDaemon(true);
            t.start();
        }

        Ambiente ambiente(Path home) throws IOException {
            final Ambiente real = BancoTeste.ambiente(home);
            final Path servicos = home.resolve("porteiro.conf");
            Files.writeString(servicos, "[" + BancoTeste.SERVICO + "]\nhost=127.0.0.1\nport=" + escuta.getLocalPort()
                    + "\ndbname=" + System.getenv("ZV_TEST_PGDATABASE") + "\nuser=" + System.getenv("ZV_TEST_PGUSER")
                    + "\npassword=" + System.getenv("ZV_TEST_PGPASSWORD") + "\n");
            final Map<String, String> env = new java.util.HashMap<>(real.variaveis());
            env.put("PGSERVICEFILE", servicos.toString());
            return new Ambiente(env, home);
        }

        private void atender() {
            try {
                while (true) {
                    final Socket cliente = escuta.accept();
                    if (pedidas.incrementAndGet() > admitidas) {
                        cliente.close();
                        continue;
                    }
                    final Socket servidor = new Socket(System.getenv("ZV_TEST_PGHOST"),
                            Integer.parseInt(System.getenv("ZV_TEST_PGPORT")));
                    bombear(cliente.getInputStream(), servidor.getOutputStream(), servidor);
                    bombear(servidor.getInputStream(), cliente.getOutputStream(), cliente);
                }
            } catch (IOException e) {
                // Closed at the end of the test.
            }
        }

        private static void bombear(InputStream de, OutputStream para, Socket fechar) {
            final Thread t = new Thread(() -> {
                try (fechar) {
                    de.transferTo(para);
                } catch (IOException e) {
                    // One side went away: the other is closed with it.
                }
            }, "porteiro-bomba");
            t.setDaemon(true);
            t.start();
        }

        @Override
        public void close() throws IOException {
            escuta.close();
        }
    }
}
