package visualizador.janela;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.OpcoesRelatorio;
import visualizador.formatos.IntervaloPaginas;

/**
 * Runs the report being previewed again, with the given options, into a file of the given format:
 * what the preview's "Somente totais" and zero-stock toggles, and its "Salvar como…", need.
 */
@FunctionalInterface
public interface Reexecutor {
    /** Returns the file written (see {@link Exportador#exportar}). */
    Path gerar(Formato formato, Path destino, OpcoesRelatorio opcoes, IntervaloPaginas paginas)
            throws ErroRelatorio, IOException;

    /** "Salvar como…" of the report as shown, run with {@code opcoes}. */
    default Exportador exportador(OpcoesRelatorio opcoes) {
        return new Exportador() {
            @Override
            public Path exportar(Formato formato, Path destino) throws ErroRelatorio, IOException {
                return gerar(formato, destino, opcoes, null);
            }

            @Override
            public Path exportar(Formato formato, Path destino, IntervaloPaginas paginas)
                    throws ErroRelatorio, IOException {
                return gerar(formato, destino, opcoes, paginas);
            }
        };
    }
}
