package visualizador.pagina;

import java.io.IOException;

/**
 * Where a report's lines go, in order: {@code inicio}, then for each group {@code inicioGrupo},
 * its lines and {@code fimGrupo}, then {@code fim} (with no group at all when nothing matched).
 * Values arrive typed, one per column: String, Long, BigDecimal, LocalDate or null.
 */
public interface Destino extends AutoCloseable {
    void inicio(Cabecalho cabecalho) throws IOException;

    /** Whether it lays out columns by what they will hold: the header then comes measured. */
    default boolean medeColunas() {
        return false;
    }

    /** {@code titulo}: "Endereço: 12 - CORREDOR 03 - PRATELEIRA B - NÍVEL 2". */
    void inicioGrupo(String titulo) throws IOException;

    void linha(Object[] valores) throws IOException;

    void fimGrupo(String titulo, Totais totais) throws IOException;

    /** The grand total; {@code totais.linhas() == 0} means nothing matched the filters. */
    void fim(Totais totais) throws IOException;

    /** Releases what the destination holds; called on every path, after fim or a failure. */
    @Override
    void close() throws IOException;
}
