package visualizador.dados;

import java.io.IOException;
import java.math.BigDecimal;
import java.sql.Array;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Types;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.util.ArrayList;
import java.util.List;
import java.util.Objects;
import java.util.concurrent.ArrayBlockingQueue;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.TimeUnit;
import visualizador.ErroRelatorio;
import visualizador.design.Agrupamento;
import visualizador.design.Coluna;
import visualizador.design.Design;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.MedidaColuna;
import visualizador.pagina.Totais;

/**
 * Runs a design's query with checked parameters and hands the rows, grouped and totalled, to a
 * destination. Rows come through a cursor, so memory does not grow with the report.
 */
public final class MotorRelatorio {
    static final int LINHAS_POR_BUSCA = 2000;
    private static final int AVISO_A_CADA = 1000;

    private final Conexao conexao;
    private final Design design;
    private final ValoresParametros valores;
    private final OpcoesRelatorio opcoes;

    public MotorRelatorio(Conexao conexao, Design design, ValoresParametros valores) {
        this(conexao, design, valores, OpcoesRelatorio.PADRAO);
    }

    public MotorRelatorio(Conexao conexao, Design design, ValoresParametros valores, OpcoesRelatorio opcoes) {
        this.conexao = conexao;
        this.design = design;
        this.valores = valores;
        this.opcoes = opcoes;
    }

    /** The design's rows, zero-stock ones left out when so chosen. */
    private String linhasSql() {
        String sql = "SELECT * FROM (\n" + design.sql() + "\n) AS relatorio";
        if (opcoes.semEstoqueZerado() && design.campoEstoque() != null)
            sql += "\nWHERE relatorio." + design.campoEstoque() + " IS DISTINCT FROM 0";
        return sql;
    }

    /** The full query: the report's rows ordered by the chosen grouping, then the chosen ordering. */
    public String sqlOrdenado() {
        return linhasSql() + "\nORDER BY " + valores.agrupamento().ordemSql() + ", " + valores.ordem().ordemSql();
    }

    /** How many lines the report will have (to refuse a size a format cannot hold, up front). */
    public long contarLinhas() throws ErroRelatorio {
        return contar("SELECT count(*) FROM (\n" + linhasSql() + "\n) AS linhas");
    }

    /** How many groups the report will have: the lines of a summary. */
    public long contarGrupos() throws ErroRelatorio {
        return contar("SELECT count(DISTINCT ROW(" + valores.agrupamento().campo() + ")) FROM (\n" + linhasSql()
                + "\n) AS linhas");
    }

    /** The rows a flat table of this report holds: its lines, or one per group in a summary. */
    public long contarLinhasTabela() throws ErroRelatorio {
        return opcoes.somenteTotais() ? contarGrupos() : contarLinhas();
    }

    private long contar(String texto) throws ErroRelatorio {
        final SqlNomeado sql = SqlNomeado.compilar(texto);
        try (PreparedStatement st = preparar(sql); ResultSet rs = st.executeQuery()) {
            rs.next();
            return rs.getLong(1);
        } catch (SQLException e) {
            throw erroBanco(e);
        }
    }

    public Cabecalho cabecalho(LocalDateTime emissao) throws ErroRelatorio {
        try {
            final DescricaoFiltros.Textos filtros = DescricaoFiltros.lista(conexao, design, valores, opcoes);
            return new Cabecalho(design.titulo(), filtros.curtos(), valores.agrupamento().titulo(), valores.ordem().titulo(),
                    emissao, design.colunas(), opcoes.somenteTotais(), camposDoGrupo(valores.agrupamento()),
                    filtros.completos()).comPaginaPorGrupo(opcoes.paginaPorGrupo());
        } catch (SQLException e) {
            throw erroBanco(e);
        }
    }

    /** What each column will hold, read before the first line (see {@link MedicaoColunas}). */
    public List<MedidaColuna> medirColunas(Progresso progresso) throws ErroRelatorio {
        try {
            return new MedicaoColunas(conexao, design.colunas(), this::preparar).medir(linhasSql());
        } catch (SQLException e) {
            if (progresso.cancelado()) throw new Cancelado();
            throw erroBanco(e);
        }
    }

    private static List<String> camposDoGrupo(Agrupamento a) {
        return a.campoDescricao() == null ? List.of(a.campo()) : List.of(a.campo(), a.campoDescricao());
    }

    public Totais executar(Destino destino, Progresso progresso) throws ErroRelatorio, IOException {
        return executar(destino, progresso, cabecalho(LocalDateTime.now()));
    }

    public Totais executar(Destino destino, Progresso progresso, Cabecalho cabecalho) throws ErroRelatorio, IOException {
        if (destino.medeColunas() && cabecalho.medidas().isEmpty())
            cabecalho = cabecalho.comMedidas(medirColunas(progresso));
        final List<Coluna> colunas = design.colunas();
        final Totais geral = new Totais(colunas);
        final Totais doGrupo = new Totais(colunas);
        final boolean somenteTotais = cabecalho.somenteTotais();
        destino.inicio(cabecalho);
        try (Busca busca = new Busca(SqlNomeado.compilar(sqlOrdenado()), colunas, valores.agrupamento())) {
            String tituloAtual = null;
            for (List<Linha> bloco = busca.proximo(progresso); !bloco.isEmpty();
                    bloco = busca.proximo(progresso)) {
                for (Linha linha : bloco) {
                    if (linha.novoGrupo() != null) {
                        if (tituloAtual != null) destino.fimGrupo(tituloAtual, doGrupo);
                        doGrupo.zerar();
                        tituloAtual = linha.novoGrupo();
                        destino.inicioGrupo(tituloAtual);
                    }
                    geral.somar(linha.valores());
                    doGrupo.somar(linha.valores());
                    if (!somenteTotais) destino.linha(linha.valores());
                    if (geral.linhas() % AVISO_A_CADA == 0) {
                        progresso.linhasLidas(geral.linhas());
                        if (progresso.cancelado()) throw new Cancelado();
                    }
                }
            }
            if (tituloAtual != null) destino.fimGrupo(tituloAtual, doGrupo);
        }
        progresso.linhasLidas(geral.linhas());
        destino.fim(geral);
        return geral;
    }

    /** A row's values, and the title of the group it opens (null when it continues the group). */
    private record Linha(Object[] valores, String novoGrupo) {}

    /**
     * Fetches the rows on a thread of its own, so reading from the server and laying out pages
     * overlap; blocks of rows pass through a short queue, which keeps memory bounded.
     */
    private final class Busca implements AutoCloseable {
        private static final int LINHAS_POR_BLOCO = 500;
        private static final List<Linha> FIM = List.of();

        private final BlockingQueue<List<Linha>> fila = new ArrayBlockingQueue<>(8);
        private final SqlNomeado sql;
        private final List<Coluna> colunas;
        private final Agrupamento grupo;
        private final Thread thread;
        private volatile PreparedStatement comando;
        private volatile boolean parar;
        private volatile Exception erro;

        Busca(SqlNomeado sql, List<Coluna> colunas, Agrupamento grupo) {
            this.sql = sql;
            this.colunas = colunas;
            this.grupo = grupo;
            thread = new Thread(this::ler, "relatorio-busca");
            thread.setDaemon(true);
            thread.start();
        }

        private void ler() {
            try (PreparedStatement st = preparar(sql)) {
                comando = st;
                st.setFetchSize(LINHAS_POR_BUSCA);
                try (ResultSet rs = st.executeQuery()) {
                    final Leitura leitura = new Leitura(rs, colunas, grupo);
                    Object chaveAtual = null;
                    boolean primeira = true;
                    List<Linha> bloco = new ArrayList<>(LINHAS_POR_BLOCO);
                    while (!parar && rs.next()) {
                        final Object chave = rs.getObject(leitura.grupoCodigo);
                        String novoGrupo = null;
                        if (primeira || !Objects.equals(chave, chaveAtual)) {
                            primeira = false;
                            chaveAtual = chave;
                            novoGrupo = grupo.titulo() + ": " + leitura.composto(chave, leitura.grupoDescricao, grupo.vazio());
                        }
                        bloco.add(new Linha(leitura.linha(), novoGrupo));
                        if (bloco.size() == LINHAS_POR_BLOCO) {
                            entregar(bloco);
                            bloco = new ArrayList<>(LINHAS_POR_BLOCO);
                        }
                    }
                    if (!bloco.isEmpty()) entregar(bloco);
                }
            } catch (SQLException | RuntimeException e) {
                erro = e;
            } catch (InterruptedException e) {
                return;
            }
            try {
                entregar(FIM);
            } catch (InterruptedException e) {
                // Nobody waits any more.
            }
        }

        private void entregar(List<Linha> bloco) throws InterruptedException {
            while (!parar && !fila.offer(bloco, 100, TimeUnit.MILLISECONDS)) {
                // The consumer is busy; check now and then whether it gave up.
            }
        }

        /** The next block of rows; empty at the end. A cancel is noticed while the query still runs. */
        List<Linha> proximo(Progresso progresso) throws ErroRelatorio {
            List<Linha> bloco;
            try {
                while ((bloco = fila.poll(100, TimeUnit.MILLISECONDS)) == null)
                    if (progresso.cancelado()) throw new Cancelado();
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                throw new Cancelado();
            }
            final Exception e = erro;
            if (bloco.isEmpty() && e != null) {
                if (e instanceof SQLException sqlErro) throw erroBanco(sqlErro);
                throw (RuntimeException) e;
            }
            return bloco;
        }

        @Override
        public void close() {
            parar = true;
            final PreparedStatement st = comando;
            if (thread.isAlive() && st != null) {
                try {
                    st.cancel(); // a failure or cancel on our side need not wait for the rest of the query
                } catch (SQLException ignorado) {
                    // The statement already ended.
                }
            }
            fila.clear();
            try {
                thread.join();
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
            try {
                conexao.jdbc().rollback(); // ends the cursor's read-only transaction
            } catch (SQLException ignorado) {
                // The connection is already broken; the first error says why.
            }
        }
    }

    private PreparedStatement preparar(SqlNomeado sql) throws SQLException {
        final PreparedStatement st = conexao.preparar(sql.sql());
        try {
            for (int i = 0; i < sql.nomes().size(); i++) {
                final String nome = sql.nomes().get(i);
                if (!valores.filtros().containsKey(nome)) {
                    throw new SQLException("o SQL do relatório usa :" + nome + ", que não é um parâmetro de códigos");
                }
                final int[] codigos = valores.codigos(nome);
                if (codigos == null) st.setNull(i + 1, Types.ARRAY);
                else {
                    final Integer[] caixa = new Integer[codigos.length];
                    for (int j = 0; j < codigos.length; j++) caixa[j] = codigos[j];
                    final Array array = conexao.jdbc().createArrayOf("int4", caixa);
                    st.setArray(i + 1, array);
                }
            }
            return st;
        } catch (SQLException e) {
            st.close();
            throw e;
        }
    }

    private static ErroRelatorio erroBanco(SQLException e) {
        return new ErroRelatorio("Erro ao ler os dados do relatório: " + e.getMessage(), e);
    }

    /** Column positions resolved once; reads one row's typed values. */
    private final class Leitura {
        private final ResultSet rs;
        private final List<Coluna> colunas;
        private final int[] codigo;
        private final int[] descricao;
        final int grupoCodigo;
        final int grupoDescricao;

        Leitura(ResultSet rs, List<Coluna> colunas, Agrupamento grupo) throws SQLException {
            this.rs = rs;
            this.colunas = colunas;
            codigo = new int[colunas.size()];
            descricao = new int[colunas.size()];
            for (int i = 0; i < colunas.size(); i++) {
                codigo[i] = coluna(colunas.get(i).campo());
                descricao[i] = colunas.get(i).composta() ? coluna(colunas.get(i).campoDescricao()) : 0;
            }
            grupoCodigo = coluna(grupo.campo());
            grupoDescricao = grupo.campoDescricao() == null ? 0 : coluna(grupo.campoDescricao());
        }

        private int coluna(String campo) throws SQLException {
            try {
                return rs.findColumn(campo);
            } catch (SQLException e) {
                throw new SQLException("o SQL do relatório não tem a coluna \"" + campo + "\"", e);
            }
        }

        Object[] linha() throws SQLException {
            final Object[] v = new Object[colunas.size()];
            for (int i = 0; i < v.length; i++) {
                final Coluna c = colunas.get(i);
                if (c.composta()) {
                    v[i] = composto(rs.getObject(codigo[i]), descricao[i], c.vazio());
                    continue;
                }
                v[i] = switch (c.tipo()) {
                    case TEXTO -> conexao.texto(rs, codigo[i]);
                    case INTEIRO -> {
                        final long n = rs.getLong(codigo[i]);
                        yield rs.wasNull() ? null : n;
                    }
                    case NUMERO -> {
                        final BigDecimal n = rs.getBigDecimal(codigo[i]);
                        yield n;
                    }
                    // Read as a LocalDate: parsed straight from the text, no calendar per value.
                    case DATA -> rs.getObject(codigo[i], LocalDate.class);
                };
            }
            return v;
        }

        /** "code - description", or the empty text when the code is null. */
        String composto(Object cod, int colunaDescricao, String vazio) throws SQLException {
            if (cod == null) return vazio;
            if (colunaDescricao == 0) return cod.toString();
            final String des = conexao.texto(rs, colunaDescricao);
            return des == null ? cod.toString() : cod + " - " + des;
        }
    }
}
